#include "video_io/source_sim.h"

#include <cstring>

#include "video_io/edid_table.h"

source_sim::source_sim()
{
    // the memories leave the factory holding each input's default table
    for (int slot = 0; slot < 6; ++slot) {
        int w, h, r;
        edid_table::default_size(slot, &w, &h, &r);
        edid_table::EDID_TIMING t;
        edid_table::cvt_rb_timing(w, h, r, &t);
        edid_table::build(slot, t, m_ports[slot].edid);
    }
}

bool source_sim::set_signal(int slot, int width, int height, int rate)
{
    if (!valid(slot))
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_ports[slot].width = width;
    m_ports[slot].height = height;
    m_ports[slot].rate = rate;
    return true;
}

void source_sim::signal(int slot, int *width, int *height, int *rate) const
{
    int w = 0, h = 0, r = 0;
    if (valid(slot)) {
        std::lock_guard<std::mutex> lock(m_mutex);
        w = m_ports[slot].width;
        h = m_ports[slot].height;
        r = m_ports[slot].rate;
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
    if (rate)
        *rate = r;
}

bool source_sim::write_edid(int slot, const u8 *data, int len)
{
    if (!valid(slot) || !data || len != int(sizeof m_ports[0].edid))
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    std::memcpy(m_ports[slot].edid, data, size_t(len));
    ++m_ports[slot].edid_writes;
    return true;
}

QByteArray source_sim::edid(int slot) const
{
    if (!valid(slot))
        return QByteArray();
    std::lock_guard<std::mutex> lock(m_mutex);
    return QByteArray(reinterpret_cast<const char *>(m_ports[slot].edid), int(sizeof m_ports[slot].edid));
}

int source_sim::edid_writes(int slot) const
{
    if (!valid(slot))
        return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_ports[slot].edid_writes;
}

void source_sim::set_hotplug(int slot, bool high)
{
    if (!valid(slot))
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_ports[slot].hotplug && !high)
        ++m_ports[slot].hotplug_drops;
    m_ports[slot].hotplug = high;
}

bool source_sim::hotplug_high(int slot) const
{
    if (!valid(slot))
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_ports[slot].hotplug;
}

int source_sim::hotplug_drops(int slot) const
{
    if (!valid(slot))
        return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_ports[slot].hotplug_drops;
}

void source_sim::restart_receiver(int slot)
{
    if (!valid(slot))
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_ports[slot].restarts;
}

int source_sim::receiver_restarts(int slot) const
{
    if (!valid(slot))
        return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_ports[slot].restarts;
}
