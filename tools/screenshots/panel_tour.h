#ifndef QEL_TOOLS_SCREENSHOTS_PANEL_TOUR_H
#define QEL_TOOLS_SCREENSHOTS_PANEL_TOUR_H

#include <QList>
#include <QStringList>
#include <QString>
#include <functional>
#include <memory>

class MainWindow;
class QWidget;

namespace tour {
class Device;
}

// The panel as the screenshot program and the text check walk it, one
// language at a time: the shell's own windows and pop-ups (home screen, main
// menu and its save pop-up, settings menu and its access-code keypad, tips,
// firmware-update overlay), then every screen the registry knows (each page
// id): each page, form and pop-up of it that its tour step reaches
// (tour_*.cpp), the progress ring of a job it runs among them, or the screen
// as it opens when it has no step. Views are named "<class in lower case>"
// or "<class in lower case>_<page>".
//
// Needs the application object and a device root of its own (QEL_ROOT): it
// writes the simulated device there (FPGAs with cards, recovery data, scan
// files, a stick with upgrade packages, a display menu), makes the FPGA and
// scaler managers when there are none and steps the FPGA manager itself (no
// manager thread may run), and keeps the settings in two user modes. The
// same views show the same pictures on every run, the home clock aside.
class PanelTour
{
public:
    static constexpr int kLanguages = 5;

    PanelTour();
    ~PanelTour();

    // One view: its name and its windows, bottom first, shown.
    using Visit = std::function<void(const QString &view, const QList<QWidget *> &windows)>;
    void visit(int language, const Visit &visit);

    static QString language_code(int language);   // zh, en, ru, vn, tw

    // Screens that stayed open after their Back (each would be shown again).
    const QStringList &left_open() const { return m_left_open; }
    // What a walk could not reach: a button or field missing, hidden or
    // disabled, a page that did not show what it lists, a keypad that did
    // not open, a job that did not end.
    const QStringList &missed() const { return m_missed; }

private:
    std::unique_ptr<tour::Device> m_device;
    std::unique_ptr<MainWindow> m_main;
    QStringList m_left_open;
    QStringList m_missed;
};

#endif
