#include "remote/r58_wifi_config.h"

#include <atomic>
#include <mutex>

#include "core/global.h"
#include "core/logmsg.h"
#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"

R58_WIFI_CONFIG *R58_WIFI_CONFIG::p_wifi = nullptr;

namespace {

// Counts requests; bumped before the flag is raised so that a request made
// while a restart runs is not cleared with it.
std::atomic<u32> s_request_seq{0};

// hostapd reads its driver (rtl871xdrv) from this file
const char *const kHostapdConf = "/etc/rtl_hostapd_2G.conf";
const char *const kUdhcpdConf = "/etc/udhcpd.conf";

QString quoted(const QString &path)
{
    QString q = path;
    q.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

}

R58_WIFI_CONFIG::R58_WIFI_CONFIG() {}

R58_WIFI_CONFIG::~R58_WIFI_CONFIG() { m_thread.stop(); }

R58_WIFI_CONFIG *R58_WIFI_CONFIG::pInstance()
{
    if (!p_wifi)
        p_wifi = new R58_WIFI_CONFIG();
    return p_wifi;
}

void R58_WIFI_CONFIG::destroyInstance()
{
    R58_WIFI_CONFIG *p = p_wifi;
    if (!p)
        return;
    p->stop();
    p_wifi = nullptr;
    delete p;
}

void R58_WIFI_CONFIG::set_wifi_reset_flag()
{
    s_request_seq.fetch_add(1);
    g_wifi_reset_ticks.store(G_timeTicks.load());
    g_wifi_reset_flag.store(1);
    if (p_wifi)
        p_wifi->m_thread.wake();
}

// Idle until a restart is asked for; until the parameter store exists it
// looks again every 100 ms.
void R58_WIFI_CONFIG::start()
{
    m_thread.start([this] {
        pass();
        return m_started && g_wifi_reset_flag.load() == 0 ? ManagerThread::UNTIL_WOKEN : 100;
    });
}

void R58_WIFI_CONFIG::stop() { m_thread.stop(); }

void R58_WIFI_CONFIG::pass()
{
    if (!QelRamPara::p_qelrampara_config)
        return;   // image 774 decides; wait for the parameter store

    const u32 seq = s_request_seq.load();
    const bool requested = g_wifi_reset_flag.load() != 0;
    if (!m_started) {
        m_started = true;
        // a pending request restarts it below
        if (!requested && wifi_on())
            start_ap();
    }
    if (!requested)
        return;

    stop_ap();
    if (wifi_on())
        start_ap();
    g_wifi_reset_flag.store(0);
    if (s_request_seq.load() != seq)
        g_wifi_reset_flag.store(1);   // asked again meanwhile: once more
}

bool R58_WIFI_CONFIG::wifi_on()
{
    QelRamPara *ram = QelRamPara::p_qelrampara_config;
    if (!ram)
        return false;
    std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
    return ram->ram_para[Img::WIFI_OFF] == 0;
}

void R58_WIFI_CONFIG::stop_ap()
{
    Utils::system_mutex(QStringLiteral("kill $(pidof hostapd) 2>/dev/null"), nullptr);
    Utils::system_mutex(QStringLiteral("kill $(pidof udhcpd) 2>/dev/null"), nullptr);
}

void R58_WIFI_CONFIG::start_ap()
{
    Utils::system_mutex(QStringLiteral("hostapd -B %1").arg(quoted(Utils::devicePath(QString::fromLatin1(kHostapdConf)))), nullptr);
    Utils::system_mutex(QStringLiteral("udhcpd %1").arg(quoted(Utils::devicePath(QString::fromLatin1(kUdhcpdConf)))), nullptr);
    writeLogMsg(LOG_NOTICE, QStringLiteral("Wi-Fi access point started"));
}
