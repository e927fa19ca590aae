#ifndef QEL_TOOLS_SCREENSHOTS_TOUR_DEVICE_H
#define QEL_TOOLS_SCREENSHOTS_TOUR_DEVICE_H

#include <QStringList>

#include "core/types.h"

class MainWindow;

namespace tour {

// The device the tour shows, the same on every run: two FPGAs with cards
// (one card of LED3 asking for recovery, its screen's recovery data on the
// device), scan files on the device and on the stick, upgrade packages on
// the stick, a display menu.
class Device
{
public:
    // Writes the description and the files, and makes the FPGA and scaler
    // managers when there are none (their threads are not started).
    Device();
    // The managers it made.
    ~Device();

    // Once the main menu and the home screen show: three live inputs, two
    // crops of HDMI1, three windows on, and the settings kept in two user
    // modes through the main menu's pop-up; the shell's refresh settles it.
    static void fill(MainWindow *main);

private:
    bool m_fpga = false;
    bool m_scaler = false;
};

// The ageing log with fixed lines and counts while it lives; the log as it
// was afterwards.
class AgeingLog
{
public:
    AgeingLog();
    ~AgeingLog();

private:
    QStringList m_lines;
    u32 m_counts[10] = {};
};

}

#endif
