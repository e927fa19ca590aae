#ifndef QEL_TOOLS_SCREENSHOTS_PANEL_TOUR_H
#define QEL_TOOLS_SCREENSHOTS_PANEL_TOUR_H

#include <QList>
#include <QStringList>
#include <QString>
#include <functional>
#include <memory>

class MainWindow;
class QWidget;

// The panel as the screenshot program and the text check walk it: the
// shell's own windows in the states they show, then every screen the
// registry knows (each page id), one language at a time. Needs the
// application object and a device root (QEL_ROOT) with data/modes and
// data/configs; fills the device with two live inputs and two saved modes.
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

private:
    std::unique_ptr<MainWindow> m_main;
    QStringList m_left_open;
};

#endif
