#ifndef QEL_BENCH_OPEN_DEVICE_H
#define QEL_BENCH_OPEN_DEVICE_H

#include <QFont>
#include <QString>
#include <QtMessageHandler>
#include <functional>

#include "tests/support/testenv.h"
#include "ui/shell/panel_placement.h"

// The shell and the device the screen openings are measured on: the same
// for qelbench's "open ratio" and for qel_open_check.

// The panel program's look and placement while the figures are taken, as
// PanelApp gives them: its style, its font, every window raised and placed
// over the main window as it shows. The offscreen platform's notes (no
// raise()) are not printed.
struct PanelLook
{
    PanelLook();
    ~PanelLook();
    QString style;
    QFont font;
    QtMessageHandler messages;
    PanelPlacement placement;
};

// A message handler that prints nothing.
void quiet_messages(QtMsgType, const QMessageLogContext &, const QString &);

enum class BenchDevice { Factory, Busy };

const char *device_name(BenchDevice d);   // "factory", "busy"

// The shell as it runs (main menu with keypad and tip, home screen) on a
// temporary device root: the factory device, or a busy one (40 crops on the
// input window 0 shows, six windows on, sixteen saved user modes with names
// and display menus, 100 scan files, a full ageing log). The main menu shows.
class OpenShell
{
public:
    explicit OpenShell(BenchDevice device);
    ~OpenShell();
    OpenShell(const OpenShell &) = delete;
    OpenShell &operator=(const OpenShell &) = delete;

private:
    TestRoot root;
};

// Deferred deletes and posted events: what the event loop does between two
// openings.
void flush_deletes();

// A screen and its bare form opened in turn, so that a load on the machine
// that comes and goes weighs on both of a pair alike: three warm-up pairs,
// then 31. The times are medians, the ratio the median of each pair's ratio.
struct PairedOpens
{
    static constexpr int RUNS = 31;
    double open = 0;   // ns
    double bare = 0;   // ns
    double ratio = 0;
    int failed = 0;    // 0, or 1 when the screen, 2 when the bare form was not painted
};
// `open` and `bare` return nanoseconds, or a negative value when not painted.
PairedOpens open_in_pairs(const std::function<qint64()> &open, const std::function<qint64()> &bare);

#endif
