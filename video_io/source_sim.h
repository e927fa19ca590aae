#ifndef QEL_VIDEO_IO_SOURCE_SIM_H
#define QEL_VIDEO_IO_SOURCE_SIM_H

#include <QByteArray>
#include <mutex>

#include "core/types.h"

// The six simulated inputs: the signal each receiver reports, its EDID
// memory, its hot-plug line, and counters for tests. Thread-safe.
class source_sim
{
public:
    source_sim();

    // Signal the receiver of input slot reports (0 x 0 @ 0: none).
    bool set_signal(int slot, int width, int height, int rate);
    void signal(int slot, int *width, int *height, int *rate) const;

    // EDID memory: a write of 256 bytes counts once.
    bool write_edid(int slot, const u8 *data, int len);
    QByteArray edid(int slot) const;
    int edid_writes(int slot) const;

    void set_hotplug(int slot, bool high);   // a high-to-low edge counts as a drop
    bool hotplug_high(int slot) const;
    int hotplug_drops(int slot) const;

    void restart_receiver(int slot);
    int receiver_restarts(int slot) const;

private:
    struct Port
    {
        int width = 0;
        int height = 0;
        int rate = 0;
        u8 edid[256];
        int edid_writes = 0;
        bool hotplug = true;
        int hotplug_drops = 0;
        int restarts = 0;
    };
    static bool valid(int slot) { return slot >= 0 && slot < 6; }

    mutable std::mutex m_mutex;
    Port m_ports[6];
};

#endif
