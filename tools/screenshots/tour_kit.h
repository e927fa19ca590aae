#ifndef QEL_TOOLS_SCREENSHOTS_TOUR_KIT_H
#define QEL_TOOLS_SCREENSHOTS_TOUR_KIT_H

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "core/types.h"
#include "tools/screenshots/panel_tour.h"

class QDialog;
class QObject;
class QWidget;

// What the tour's steps share: pressing buttons and fields as a touch does,
// visiting the modal runs they start (the keypad), running a receiving-card
// job to its end, and the view names.
namespace tour {

using Windows = QList<QWidget *>;

// Clicks the visible, enabled button `name` under `parent` as a touch does,
// then runs the deferred deletes; false when there is none to press.
bool click(QObject *parent, const QString &name);

// One walk through the panel in one language: the visitor, and what could
// not be reached (a button missing, hidden or disabled, a keypad that did
// not open, a job that did not end), each noted with the part of the walk.
class Walk
{
public:
    Walk(const PanelTour::Visit &visit, QStringList &missed, const QString &language)
        : m_visit(visit), m_missed(missed), m_language(language)
    {
    }

    void at(const QString &where) { m_where = where; }
    void view(const QString &name, const Windows &windows) { m_visit(name, windows); }
    void miss(const QString &what);

    // The visible, enabled button `name` under `parent`, clicked; deferred
    // deletes run after it. False (and a miss) when there is none to press.
    bool press(QObject *parent, const QString &name);
    // A touch on the visible, enabled field `name` under `parent` (what
    // opens the keypad); false and a miss when there is none.
    bool touch_field(QObject *parent, const QString &name);
    // Runs `open`, which starts a modal run; the modal window is visited as
    // `name` over `below`, then `finish` ends the run (hidden if it did not).
    // False when `open` failed or no modal run started (a miss).
    bool modal(const QString &name, const Windows &below, const std::function<bool()> &open,
               const std::function<void(QWidget *)> &finish);
    // The keypad `open` starts, visited as `name` over `below`, and closed.
    bool keypad(const QString &name, const Windows &below, const std::function<bool()> &open);
    // The same, then `digits` typed and OK pressed.
    bool keypad_entry(const QString &name, const Windows &below, const QString &digits,
                      const std::function<bool()> &open);

    // The job a press has just posted, stepped on the FPGA manager until its
    // ring closes, the shell's refresh delivering its end. A given `midway`
    // runs once, when the ring first shows progress. A miss when no job
    // runs, it does not end, or `midway` never ran.
    bool run_card_job(const std::function<void()> &midway = {});

private:
    const PanelTour::Visit &m_visit;
    QStringList &m_missed;
    const QString m_language;
    QString m_where;
};

// A registered screen on tour: its views are "<class>" and "<class>_<page>".
class ScreenTour
{
public:
    ScreenTour(Walk &walk, QDialog *screen) : walk(walk), screen(screen) {}

    QString name(const QString &page = QString()) const;
    // The screen as it shows now, visited as name(page); with `mark`, only
    // when the widget of that name (one of the page's own, or what lists its
    // data) shows, a miss otherwise.
    void view(const QString &page = QString(), const QString &mark = QString());
    // A button of the screen, or of its run-time container `in` (tiles and
    // rows are named by their number).
    bool press(const QString &button, const QString &in = QString());

    // The drop-down list of the combo box `combo`, open as a touch opens it,
    // visited as name(page) and closed again.
    void list(const QString &combo, const QString &page);

    // A field's keypad, visited as "<class>_keypad_<label>", then closed or,
    // with digits, the digits typed and OK pressed.
    struct Field
    {
        QString field;
        QString label;
        QString digits;
    };
    void keypads(const QList<Field> &fields);

    Walk &walk;
    QDialog *const screen;
};

// The tour of a screen class; null for a screen without one (it is shown
// as it opens).
using Step = void (*)(ScreenTour &);
Step step_for(const char *className);

// The steps, by screen (tour_input.cpp, tour_picture.cpp, tour_output.cpp,
// tour_advanced.cpp).
void input_choice(ScreenTour &t);
void input_crop(ScreenTour &t);
void edid(ScreenTour &t);
void window_layout(ScreenTour &t);
void picture_quality(ScreenTour &t);
void test_patterns(ScreenTour &t);
void user_modes(ScreenTour &t);
void output(ScreenTour &t);
void network(ScreenTour &t);
void smart_mapping(ScreenTour &t);
void advanced(ScreenTour &t);

}

#endif
