#ifndef QEL_TESTS_IDLE_TURNS_H
#define QEL_TESTS_IDLE_TURNS_H

#include <chrono>
#include <thread>

#include "core/manager_thread.h"

namespace IdleTurns {
// Over this window an idle manager polls at most a few times; one that ran
// every tick would make about 30 turns.
constexpr int WINDOW_MS = 300;
constexpr u32 MAX = 10;

// Turns the manager thread makes while this thread sleeps WINDOW_MS.
inline u32 during(const ManagerThread &t)
{
    const u32 before = t.turns();
    std::this_thread::sleep_for(std::chrono::milliseconds(WINDOW_MS));
    return t.turns() - before;
}
}

#endif
