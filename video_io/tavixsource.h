#ifndef QEL_VIDEO_IO_TAVIXSOURCE_H
#define QEL_VIDEO_IO_TAVIXSOURCE_H

#include <atomic>

#include "core/manager_thread.h"
#include "core/types.h"
#include "video_io/source_sim.h"

class it66121_sys;
struct SimConfig;

// The input-source manager: the six inputs, their EDID memories and the
// monitor-output transmitter.
class tavixsource
{
public:
    static tavixsource *p_tavix_source;
    static tavixsource *pInstance();
    static void destroyInstance();   // tests

    // Per input slot 0..5: EDID rewrite request and written mark.
    std::atomic<u8> set_edid_flag[6];
    std::atomic<u8> edid_written_flag[6];
    // Per input slot: an EDID table loaded by the PC is in force.
    std::atomic<u8> pc_edid_loaded[6];

    // Request a rebuild of the input's custom EDID (request 1, mark 0).
    void request_edid_rewrite(int slot);

    it66121_sys *it66121 = nullptr;

    // Builds the 256-byte EDID of input slot for width x height at rate Hz
    // into edid. 1: the asked timing is the preferred one; 0: it cannot be
    // described, the input's default table was built; 255: bad slot or buffer.
    static int Set_Custom_HDMI_EDID(int slot, int width, int height, int rate, u8 *edid);

    // The simulated inputs (receivers, EDID memories, hot-plug lines).
    source_sim &sim() { return m_sim; }
    // Signal reported by the input's receiver; 0 success, 1 refused slot.
    int set_sim_signal(int slot, int width, int height, int rate);
    // The inputs of a changed sim.json, when they changed and the manager
    // exists; true when applied.
    static bool apply_sim(const SimConfig &was, const SimConfig &now);

    void pass();
    void start();
    void stop();
    // Ends the manager thread's sleep: there is work. Any thread; nothing
    // happens while the manager or its thread does not exist.
    static void wake();
    static const ManagerThread &thread();

private:
    tavixsource();
    ~tavixsource();

    void set_sim_inputs(const SimConfig &cfg);   // every slot: listed or none
    int next_sleep_ms() const;
    void update_timing_records();
    void edid_pass(int slot);
    void write_custom_edid(int slot);

    source_sim m_sim;
    // Bumped by request_edid_rewrite before its flag writes, so a request
    // that lands while the thread works on the same input is not lost.
    std::atomic<u32> m_request_seq[6];
    u32 m_built_seq[6] = {};   // manager thread only
};

#endif
