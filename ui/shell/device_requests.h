#ifndef QEL_UI_SHELL_DEVICE_REQUESTS_H
#define QEL_UI_SHELL_DEVICE_REQUESTS_H

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <functional>

#include "core/types.h"
#include "led_output/fpga_manage.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screens.h"

// What the screens ask of the device beside the parameter image. All of it
// runs on the GUI thread and waits for nothing.
namespace DeviceRequests {
// Both FPGAs report state 3; no FPGA manager counts as not running.
bool fpgas_running();
// Output area of output port 0..23 as the FPGAs hold it; all zero without
// the FPGA manager or for another port.
struct PortArea
{
    u16 x = 0, y = 0, width = 0, height = 0;
};
PortArea port_area(int port);
// The LED set-up request (g_set_led_para := 1, g_set_led_setup := 0 under
// Utils::_led_para_init_mutex) when both FPGAs run; false otherwise. It may
// be called inside QelRamPara::edit: the image lock comes first. Its end is
// announced by JobRelay::led_setup_done().
bool request_led_setup();
// The upgrade packages of the stick's upgrade folder, in the order the FPGA
// manager installs them (at most 100): what a screen marks is what installs.
QStringList upgrade_packages();
// The files the USB page lists (at most 100), each marked when it is one
// of upgrade_packages().
QVector<fpga_manage::UpgradeFile> upgrade_listing();
// Hands a job's progress to the screen that started it: emits its
// sig_qround_bar_update(int).
using ProgressReport = void (*)(QDialog *screen, int value);

// start_card_job but the ring's connection: the checks, the inputs, the
// post, the relay and the ring.
bool post_card_job(QDialog *screen, u8 job, const std::function<void()> &write_inputs, ProgressReport report);

// A receiving-card job from `screen`, a dialog with the signal
// sig_qround_bar_update(int): refused (false, nothing changes, write_inputs
// not run) without a screen or for a code outside 1..6, while a ring shows,
// without an FPGA manager, while a job or a USB upgrade runs. Otherwise runs
// write_inputs, posts the job word and then makes the ring on the screen and
// connects the screen's signal to it (unique). A post refused after the
// inputs were written opens no ring; the inputs wait unread for the next
// job, which writes its own. Progress and results reach the screen through
// JobRelay.
template <class Screen>
bool start_card_job(Screen *screen, u8 job, const std::function<void()> &write_inputs = {})
{
    const ProgressReport report = [](QDialog *s, int value) {
        emit static_cast<Screen *>(s)->sig_qround_bar_update(value);
    };
    if (!post_card_job(screen, job, write_inputs, report))
        return false;
    if (g_qround_bar)
        QObject::connect(screen, &Screen::sig_qround_bar_update, g_qround_bar, &QRoundProgressBar::para_sync,
                         Qt::UniqueConnection);
    return true;
}
}

// Brings the FPGA manager's job progress and results to the GUI thread
// (queued) and hands them to the screen that started the job, through its
// report; drops them when that screen is gone. Also
// announces the end of every LED set-up, whoever asked for it.
class JobRelay : public QObject
{
    Q_OBJECT
public:
    // Made on first use, on the GUI thread; each call connects it to the
    // FPGA manager of the moment when that one is new.
    static JobRelay *instance();
    // The job `job` of `screen` is the one in hand: its reports from its
    // first (0) to its last (100) go to the screen through `report`.
    void attach(QDialog *screen, u8 job, DeviceRequests::ProgressReport report = nullptr);
    QDialog *screen() const { return m_screen; }
    // Hands over the reports already queued for this relay (GUI thread).
    void deliver_queued();

signals:
    // results of the check / self-recovery jobs, for the screen that started them
    void recovery_result(QStringList entries, int count);
    // an LED set-up ended; the port geometry can be read again
    void led_setup_done();

private:
    JobRelay();
    void follow_manager();
    void on_progress(int job, int value);
    void on_result(QStringList entries, int count);
    QPointer<QDialog> m_screen;
    DeviceRequests::ProgressReport m_report = nullptr;
    u8 m_job = 0;
    bool m_started = false;   // the job's first report arrived
    QPointer<fpga_manage> m_manager;
};

#endif
