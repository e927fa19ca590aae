#ifndef QEL_LED_OUTPUT_LOCKED_COPY_H
#define QEL_LED_OUTPUT_LOCKED_COPY_H

#include <mutex>

// A copy of a member read under the mutex that guards it.
template <class T>
T lockedCopy(std::mutex &mutex, const T &value)
{
    std::lock_guard<std::mutex> lock(mutex);
    return value;
}

#endif
