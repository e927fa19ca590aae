#include "core/manager_thread.h"

#include <chrono>

void ManagerThread::start(std::function<int()> pass)
{
    if (m_thread.joinable())
        return;
    m_pass = std::move(pass);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = false;
        m_wake = false;
    }
    m_thread = std::thread([this] { loop(); });
}

void ManagerThread::start(std::function<void()> pass, int intervalMs)
{
    const int interval = intervalMs > 0 ? intervalMs : 1;
    start([pass = std::move(pass), interval] {
        pass();
        return interval;
    });
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
    m_cv.notify_one();
}

void ManagerThread::loop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        m_wake = false;   // a wake from here on brings another turn
        lock.unlock();
        const int sleepMs = m_pass();
        m_turns.fetch_add(1, std::memory_order_relaxed);
        lock.lock();
        const auto woken = [this] { return m_stop || m_wake; };
        if (sleepMs < 0)
            m_cv.wait(lock, woken);
        else
            m_cv.wait_for(lock, std::chrono::milliseconds(sleepMs), woken);
    }
}
