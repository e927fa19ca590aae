#ifndef QEL_CORE_MANAGER_THREAD_H
#define QEL_CORE_MANAGER_THREAD_H

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Runs one manager's pass() over and over on its own thread, sleeping
// `intervalMs` between turns (woken early by wake()). Never spins.
class ManagerThread
{
public:
    ManagerThread() = default;
    ~ManagerThread() { stop(); }
    ManagerThread(const ManagerThread &) = delete;
    ManagerThread &operator=(const ManagerThread &) = delete;

    void start(std::function<void()> pass, int intervalMs);
    void stop();                 // asks the loop to end and joins it
    void wake();                 // ends the current sleep early
    bool running() const { return m_thread.joinable(); }

private:
    void loop();

    std::function<void()> m_pass;
    int m_interval = 10;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_stop = false;
    bool m_wake = false;
};

#endif
