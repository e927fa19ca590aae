#ifndef QEL_REMOTE_R58_WIFI_CONFIG_H
#define QEL_REMOTE_R58_WIFI_CONFIG_H

#include <QString>

#include "core/manager_thread.h"

// The device's own Wi-Fi access point (hostapd + udhcpd).
class R58_WIFI_CONFIG
{
public:
    static R58_WIFI_CONFIG *p_wifi;
    static R58_WIFI_CONFIG *pInstance();
    static void destroyInstance();   // tests

    // Asks for an access-point restart (g_wifi_reset_flag := 1, stamped with
    // G_timeTicks); the manager's thread carries it out.
    static void set_wifi_reset_flag();

    void pass();
    void start();
    void stop();

private:
    R58_WIFI_CONFIG();
    ~R58_WIFI_CONFIG();

    static bool wifi_on();   // image 774 is 0
    static void stop_ap();
    static void start_ap();

    ManagerThread m_thread;
    bool m_started = false;   // start-up turn done (manager thread only)
};

#endif
