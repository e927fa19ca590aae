#include "core/manager_thread.h"

#include <chrono>

void ManagerThread::start(std::function<void()> pass, int intervalMs)
{
    if (m_thread.joinable())
        return;
    m_pass = std::move(pass);
    m_interval = intervalMs > 0 ? intervalMs : 1;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = false;
        m_wake = false;
    }
    m_thread = std::thread([this] { loop(); });
}

void ManagerThread::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_cv.notify_all();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

void ManagerThread::wake()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_wake = true;
    }
    m_cv.notify_all();
}

void ManagerThread::loop()
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stop)
                return;
        }
        m_pass();
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait_for(lock, std::chrono::milliseconds(m_interval), [this] { return m_stop || m_wake; });
        m_wake = false;
        if (m_stop)
            return;
    }
}
