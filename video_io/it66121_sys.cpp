#include "video_io/it66121_sys.h"

#include "core/global.h"
#include "core/utils.h"

// A factory reset calls this on the GUI thread, which must not sleep 50 ms.
// The low edge is driven here with a tick stamp and the manager's own pass
// raises the line once 5 ticks have gone by: the line stays with the thread
// that owns the board and no timer has to cross threads. A second call while
// the line is low starts the 50 ms again.
int it66121_sys::GS2971_Reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_low = true;
    m_low_stamp = G_timeTicks.load();
    ++m_pulses;
    return 1;
}

void it66121_sys::poll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_low && Utils::getTimeSpace(m_low_stamp) >= GS2971_RESET_TICKS) {
        m_low = false;
        ++m_releases;
    }
}

bool it66121_sys::gs2971_reset_high() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_low;
}

int it66121_sys::gs2971_reset_pulses() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pulses;
}

int it66121_sys::gs2971_reset_releases() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_releases;
}
