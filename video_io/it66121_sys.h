#ifndef QEL_VIDEO_IO_IT66121_SYS_H
#define QEL_VIDEO_IO_IT66121_SYS_H

#include <mutex>

#include "core/types.h"

// Monitor-output transmitter board: here the GS2971 reset line it drives.
class it66121_sys
{
public:
    static constexpr u32 GS2971_RESET_TICKS = 5;   // 50 ms low

    // Starts a reset pulse of the GS2971: the line goes low now and high
    // again GS2971_RESET_TICKS later, on the input-source manager's pass.
    int GS2971_Reset();
    // The manager's pass: ends a pulse whose low time is over.
    void poll();

    bool gs2971_reset_high() const;
    int gs2971_reset_pulses() const;    // low edges
    int gs2971_reset_releases() const;  // high edges that ended a pulse

private:
    mutable std::mutex m_mutex;
    bool m_low = false;
    u32 m_low_stamp = 0;
    int m_pulses = 0;
    int m_releases = 0;
};

#endif
