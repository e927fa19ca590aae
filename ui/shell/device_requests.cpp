#include "ui/shell/device_requests.h"

#include <mutex>

#include "core/global.h"
#include "core/utils.h"
#include "led_output/fpga_manage.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screens.h"

namespace DeviceRequests {

bool fpgas_running()
{
    const fpga_manage *f = fpga_manage::p_fpga_manage;
    if (!f)
        return false;
    for (int i = 0; i < 2; ++i) {
        if (f->reg_mirror(i, 80) != 3)
            return false;
    }
    return true;
}

bool request_led_setup()
{
    if (!fpgas_running())
        return false;
    std::lock_guard<std::mutex> led(Utils::_led_para_init_mutex);
    g_set_led_para = 1;
    g_set_led_setup = 0;
    return true;
}

QStringList upgrade_packages() { return fpga_manage::upgrade_package_list(); }

bool start_card_job(QDialog *screen, u8 job, const std::function<void()> &write_inputs)
{
    if (!screen || g_qround_bar || !fpga_manage::p_fpga_manage || g_send_para.job() != 0
        || g_usb_grade.load(std::memory_order_acquire) != 0)
        return false;
    if (write_inputs)
        write_inputs();
    JobRelay::instance()->attach(screen, job);
    if (!fpga_manage::post_job(job))
        return false;
    QRoundProgressBar::create_qround_bar(screen);
    if (g_qround_bar)
        QObject::connect(screen, SIGNAL(sig_qround_bar_update(int)), g_qround_bar, SLOT(para_sync(int)),
                         Qt::UniqueConnection);
    return true;
}

}

JobRelay *JobRelay::instance()
{
    static JobRelay *relay = new JobRelay();
    return relay;
}

JobRelay::JobRelay() = default;

// Connected to the manager of the moment: tests make a new one per case.
void JobRelay::attach(QDialog *screen, u8 job)
{
    m_screen = screen;
    m_job = job;
    fpga_manage *f = fpga_manage::p_fpga_manage;
    if (f == m_manager)
        return;
    disconnect(m_progress);
    disconnect(m_result);
    m_manager = f;
    if (!f)
        return;
    m_progress = connect(f, &fpga_manage::sig_job_progress, this, &JobRelay::on_progress, Qt::QueuedConnection);
    m_result = connect(f, &fpga_manage::sig_recovery_result, this, &JobRelay::on_result, Qt::QueuedConnection);
}

void JobRelay::on_progress(int job, int value)
{
    if (!m_screen || job != m_job)
        return;
    QMetaObject::invokeMethod(m_screen, "sig_qround_bar_update", Qt::DirectConnection, Q_ARG(int, value));
}

void JobRelay::on_result(QStringList entries, int count)
{
    if (m_screen)
        emit recovery_result(entries, count);
}
