#ifndef QEL_BENCH_BENCH_FORMS_H
#define QEL_BENCH_BENCH_FORMS_H

#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <map>

// A form built bare: uic's setupUi on a plain widget of the form's top-level
// class, shown and painted once. Returns the nanoseconds of that; the
// widget's deletion is not counted.
using BareFormTimer = qint64 (*)();

template <class Form, class Top> qint64 time_bare_form()
{
    QElapsedTimer t;
    t.start();
    Top *w = new Top;
    Form form;
    form.setupUi(w);
    w->show();
    w->grab();
    const qint64 ns = t.nsecsElapsed();
    delete w;
    return ns;
}

// Every form under ui/ by its class name (as uic names it: Ui::<name>).
const std::map<QString, BareFormTimer> &bare_forms();

#endif
