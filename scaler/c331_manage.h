#ifndef QEL_SCALER_C331_MANAGE_H
#define QEL_SCALER_C331_MANAGE_H

#include <atomic>
#include <mutex>

#include "core/types.h"

// Placeholder until the scaler manager lands: the lock and update byte that
// every screen writes through.
class c331_manage
{
public:
    static c331_manage *p_c331_manage;
    static c331_manage *pInstance();
    static void destroyInstance();

    // The one lock between writers of the parameter image and this manager.
    static std::mutex para_mutex;
    // Set to a refresh code (1 from the screens) under para_mutex.
    static std::atomic<u8> para_update;

    // bit 0 32-dot Chinese, bit 1 32-dot English, bit 2 64-dot Chinese, bit 3 64-dot English
    std::atomic<u8> font_state{0};

    void pass();
    void start();
    void stop();

private:
    c331_manage();
};

#endif
