#include "ui/shell/device_requests.h"

#include <QCoreApplication>
#include <mutex>

#include "core/global.h"
#include "core/logmsg.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screens.h"

namespace DeviceRequests {

bool fpgas_running()
{
    const fpga_manage *f = fpga_manage::p_fpga_manage;
    if (!f)
        return false;
    for (int i = 0; i < 2; ++i) {
        if (f->reg_mirror(i, fpga_drv::REG_STATE) != fpga_drv::STATE_RUNNING)
            return false;
    }
    return true;
}

PortArea port_area(int port)
{
    PortArea a;
    const fpga_manage *f = fpga_manage::p_fpga_manage;
    if (!f || port < 0 || port >= 2 * fpga_drv::PORTS)
        return a;
    const int fpga = port / fpga_drv::PORTS;
    u16 x, y, w, h;
    fpga_manage::get_eth_param_addr(port % fpga_drv::PORTS, &x, &y, &w, &h);
    a.x = f->geometry_mirror(fpga, x);
    a.y = f->geometry_mirror(fpga, y);
    a.width = f->geometry_mirror(fpga, w);
    a.height = f->geometry_mirror(fpga, h);
    return a;
}

bool request_led_setup()
{
    if (!fpgas_running())
        return false;
    {
        std::lock_guard<std::mutex> led(Utils::_led_para_init_mutex);
        g_set_led_para = 1;
        g_set_led_setup = 0;
    }
    fpga_manage::wake();
    return true;
}

QStringList upgrade_packages() { return fpga_manage::upgrade_package_list(); }

QVector<fpga_manage::UpgradeFile> upgrade_listing() { return fpga_manage::upgrade_file_list(); }

bool post_card_job(QDialog *screen, u8 job, const std::function<void()> &write_inputs, ProgressReport report)
{
    if (!screen) {
        writeLogMsg(LOG_MISSING, QStringLiteral("card job %1: no screen to report to").arg(job));
        return false;
    }
    if (job < JOB_SMART_MAPPING || job > JOB_SELF_RECOVERY || g_qround_bar || !fpga_manage::p_fpga_manage
        || g_send_para.job() != 0 || g_usb_grade.load(std::memory_order_acquire) != 0)
        return false;
    JobRelay *relay = JobRelay::instance();
    // reports of an earlier job still queued go to that job's screen, not to this one
    relay->deliver_queued();
    if (write_inputs)
        write_inputs();
    if (!fpga_manage::post_job(job))
        return false;
    relay->attach(screen, job, report);
    QRoundProgressBar::create_qround_bar(screen);
    return true;
}

}

JobRelay *JobRelay::instance()
{
    static JobRelay *relay = new JobRelay();
    relay->follow_manager();
    return relay;
}

JobRelay::JobRelay() = default;

// Tests make a new manager per case; the one gone took its connections along.
void JobRelay::follow_manager()
{
    fpga_manage *f = fpga_manage::p_fpga_manage;
    if (!f || f == m_manager)
        return;
    if (m_manager)
        m_manager->disconnect(this);
    m_manager = f;
    connect(f, &fpga_manage::sig_job_progress, this, &JobRelay::on_progress, Qt::QueuedConnection);
    connect(f, &fpga_manage::sig_recovery_result, this, &JobRelay::on_result, Qt::QueuedConnection);
    connect(f, &fpga_manage::sig_led_setup_done, this, &JobRelay::led_setup_done, Qt::QueuedConnection);
}

void JobRelay::attach(QDialog *screen, u8 job, DeviceRequests::ProgressReport report)
{
    m_screen = screen;
    m_report = report;
    m_job = job;
    m_started = false;
}

void JobRelay::deliver_queued()
{
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

// Every job reports 0 first and 100 last; what comes before this job's 0 is
// the end of an earlier one.
void JobRelay::on_progress(int job, int value)
{
    if (job != m_job || (!m_started && value != 0))
        return;
    m_started = true;
    if (m_screen && m_report)
        m_report(m_screen, value);
    if (value >= 100)
        attach(nullptr, 0);
}

void JobRelay::on_result(QStringList entries, int count)
{
    if (m_started && m_screen)
        emit recovery_result(entries, count);
}
