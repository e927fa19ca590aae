#ifndef QEL_UI_SHELL_DEVICE_REQUESTS_H
#define QEL_UI_SHELL_DEVICE_REQUESTS_H

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "core/types.h"

// What the screens ask of the device beside the parameter image. All of it
// runs on the GUI thread and waits for nothing.
namespace DeviceRequests {
// Both FPGAs report state 3; no FPGA manager counts as not running.
bool fpgas_running();
// The LED set-up request (g_set_led_para := 1, g_set_led_setup := 0 under
// Utils::_led_para_init_mutex) when both FPGAs run; false otherwise. Callers
// that hold para_mutex may call it: the lock order is para_mutex first.
bool request_led_setup();
// The upgrade packages of the stick's upgrade folder, in the order the FPGA
// manager installs them (at most 100): what a screen marks is what installs.
QStringList upgrade_packages();
// A receiving-card job from `screen`: refused (false, nothing changes) while
// a ring shows, without an FPGA manager, while a job or a USB upgrade runs.
// Otherwise makes the ring on the screen, connects the screen's
// sig_qround_bar_update(int) to it (unique), runs write_inputs, then posts
// the job word. Progress and results reach the screen through JobRelay.
bool start_card_job(QDialog *screen, u8 job, const std::function<void()> &write_inputs = {});
}

// Brings the FPGA manager's job progress and results to the GUI thread
// (queued) and hands them to the screen that started the job, through its
// sig_qround_bar_update(int); drops them when that screen is gone.
class JobRelay : public QObject
{
    Q_OBJECT
public:
    static JobRelay *instance();   // made on first use, on the GUI thread
    void attach(QDialog *screen, u8 job);
    QDialog *screen() const { return m_screen; }

signals:
    // results of the check / self-recovery jobs, for the screen that started them
    void recovery_result(QStringList entries, int count);

private:
    JobRelay();
    void on_progress(int job, int value);
    void on_result(QStringList entries, int count);
    QPointer<QDialog> m_screen;
    u8 m_job = 0;
    QObject *m_manager = nullptr;
    QMetaObject::Connection m_progress;
    QMetaObject::Connection m_result;
};

#endif
