#ifndef QEL_BENCH_BENCH_FORMS_H
#define QEL_BENCH_BENCH_FORMS_H

#include <QString>
#include <QWidget>
#include <map>

// A form built bare: uic's setupUi on a plain widget of the form's top-level
// class, nothing shown yet.
using BareFormMaker = QWidget *(*)();

template <class Form, class Top> QWidget *make_bare_form()
{
    Top *w = new Top;
    Form form;
    form.setupUi(w);
    return w;
}

// Every form under ui/ by its class name (as uic names it: Ui::<name>).
const std::map<QString, BareFormMaker> &bare_forms();

#endif
