#ifndef QEL_CORE_MANAGER_THREAD_H
#define QEL_CORE_MANAGER_THREAD_H

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "core/types.h"

// Runs one manager's pass() over and over on its own thread. After each turn
// the pass says how long to sleep: WORK_MS while it works through something
// timed in ticks, a hardware poll period, or UNTIL_WOKEN. wake() ends the
// sleep at once; a wake that comes during a turn starts the next one without
// sleeping. Never spins.
class ManagerThread
{
public:
    static constexpr int UNTIL_WOKEN = -1;
    static constexpr int WORK_MS = 10;   // one tick
    static constexpr int POLL_MS = 95;   // hardware state: a change is seen within 100 ms

    ManagerThread() = default;
    ~ManagerThread() { stop(); }
    ManagerThread(const ManagerThread &) = delete;
    ManagerThread &operator=(const ManagerThread &) = delete;

    // `pass` returns the sleep before the next turn in ms, or UNTIL_WOKEN.
    void start(std::function<int()> pass);
    // A fixed pace: `pass`, then `intervalMs` of sleep.
    void start(std::function<void()> pass, int intervalMs);
    void stop();                 // asks the loop to end and joins it
    void wake();                 // any thread, also while no thread runs
    bool running() const { return m_thread.joinable(); }
    u32 turns() const { return m_turns.load(std::memory_order_relaxed); }

private:
    void loop();

    std::function<int()> m_pass;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_stop = false;
    bool m_wake = false;
    std::atomic<u32> m_turns{0};
};

#endif
