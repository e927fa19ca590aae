#include "video_io/tavixsource.h"

#include <cstring>
#include <mutex>

#include "core/logmsg.h"
#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "core/sim_config.h"
#include "video_io/edid_table.h"
#include "video_io/it66121_sys.h"

tavixsource *tavixsource::p_tavix_source = nullptr;

namespace {
bool valid_slot(int slot) { return slot >= 0 && slot < 6; }

// Made once and never destroyed, so wake() is safe at any time.
ManagerThread &managerThread()
{
    static ManagerThread *const t = new ManagerThread();
    return *t;
}
}

tavixsource::tavixsource()
{
    for (int i = 0; i < 6; ++i) {
        set_edid_flag[i] = 0;
        edid_written_flag[i] = 0;
        pc_edid_loaded[i] = 0;
        m_request_seq[i] = 0;
    }
    it66121 = new it66121_sys();
    set_sim_inputs(SimConfig::load());
}

tavixsource::~tavixsource()
{
    stop();
    delete it66121;
    it66121 = nullptr;
}

tavixsource *tavixsource::pInstance()
{
    if (!p_tavix_source)
        p_tavix_source = new tavixsource();
    return p_tavix_source;
}

void tavixsource::destroyInstance()
{
    tavixsource *p = p_tavix_source;
    if (!p)
        return;
    p->stop();
    p_tavix_source = nullptr;
    delete p;
}

void tavixsource::request_edid_rewrite(int slot)
{
    if (!valid_slot(slot)) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("EDID rewrite: no input slot %1").arg(slot));
        return;
    }
    m_request_seq[slot].fetch_add(1);
    edid_written_flag[slot].store(0);
    set_edid_flag[slot].store(1);
    wake();
}

int tavixsource::set_sim_signal(int slot, int width, int height, int rate)
{
    return m_sim.set_signal(slot, width, height, rate) ? 0 : 1;
}

bool tavixsource::apply_sim(const SimConfig &was, const SimConfig &now)
{
    tavixsource *src = p_tavix_source;
    if (!src || now.inputs == was.inputs)
        return false;
    src->set_sim_inputs(now);
    return true;
}

void tavixsource::set_sim_inputs(const SimConfig &cfg)
{
    SimInput signal[6];
    for (const SimInput &in : cfg.inputs)
        signal[in.slot] = in;
    for (int slot = 0; slot < 6; ++slot)
        m_sim.set_signal(slot, signal[slot].width, signal[slot].height, signal[slot].rate);
}

int tavixsource::Set_Custom_HDMI_EDID(int slot, int width, int height, int rate, u8 *edid)
{
    if (!valid_slot(slot) || !edid)
        return 255;
    edid_table::EDID_TIMING t;
    int result = 1;
    if (!edid_table::cvt_rb_timing(width, height, rate, &t)) {
        int w, h, r;
        edid_table::default_size(slot, &w, &h, &r);
        edid_table::cvt_rb_timing(w, h, r, &t);
        result = 0;
    }
    edid_table::build(slot, t, edid);
    return result;
}

void tavixsource::pass()
{
    if (it66121)
        it66121->poll();
    update_timing_records();
    if (!QelRamPara::p_qelrampara_config)
        return;   // requests wait for the parameter store
    for (int slot = 0; slot < 6; ++slot)
        edid_pass(slot);
}

void tavixsource::start()
{
    managerThread().start([this] {
        pass();
        return next_sleep_ms();
    });
}

void tavixsource::stop() { managerThread().stop(); }

void tavixsource::wake() { managerThread().wake(); }

const ManagerThread &tavixsource::thread() { return managerThread(); }

// An EDID rewrite or a transmitter reset goes on every tick until done;
// otherwise the receivers are polled for signal changes.
int tavixsource::next_sleep_ms() const
{
    if (it66121 && !it66121->gs2971_reset_high())
        return ManagerThread::WORK_MS;
    if (QelRamPara::p_qelrampara_config) {
        for (const std::atomic<u8> &f : set_edid_flag) {
            if (f.load())
                return ManagerThread::WORK_MS;
        }
    }
    return ManagerThread::POLL_MS;
}

// Input timing records follow what the receivers report; a change raises
// refresh code 12.
void tavixsource::update_timing_records()
{
    QelRamPara *ram = QelRamPara::p_qelrampara_config;
    if (!ram)
        return;
    // the six records as the image holds them, from the receivers
    u8 rec[6 * Img::INPUT_TIMING_SIZE] = {};
    for (int slot = 0; slot < 6; ++slot) {
        int w, h, r;
        m_sim.signal(slot, &w, &h, &r);
        // all three non-zero or no signal at all
        if (w <= 0 || h <= 0 || r <= 0)
            continue;
        InputTiming<u8>(rec, slot, Img::INPUT_TIMING)
            .set(u16(qMin(w, 0xFFFF)), u16(qMin(h, 0xFFFF)), u8(qMin(r, 0xFF)));
    }
    bool changed = false;
    {
        std::lock_guard<std::mutex> lock(QelRamPara::image_mutex());
        u8 *dst = ram->ram_para + Img::INPUT_TIMING;
        if (std::memcmp(dst, rec, sizeof rec) != 0) {
            std::memcpy(dst, rec, sizeof rec);
            changed = true;
        }
    }
    if (changed)
        ram->test_signal(REFRESH_INPUTS);
}

// A request with no written mark builds and writes the input's EDID; the
// next pass, with both set, makes the source read it again.
void tavixsource::edid_pass(int slot)
{
    const u32 seq = m_request_seq[slot].load();
    if (set_edid_flag[slot].load() == 0)
        return;
    if (edid_written_flag[slot].load() == 0 || seq != m_built_seq[slot]) {
        m_built_seq[slot] = seq;
        write_custom_edid(slot);
        edid_written_flag[slot].store(1);
        return;
    }
    // hot-plug low while the receiver restarts, then high: the source reads the EDID again
    m_sim.set_hotplug(slot, false);
    m_sim.restart_receiver(slot);
    m_sim.set_hotplug(slot, true);
    set_edid_flag[slot].store(0);
    // a request made meanwhile starts over on the next pass
    if (m_request_seq[slot].load() != m_built_seq[slot]) {
        edid_written_flag[slot].store(0);
        set_edid_flag[slot].store(1);
    }
}

void tavixsource::write_custom_edid(int slot)
{
    QelRamPara *ram = QelRamPara::p_qelrampara_config;
    if (!ram)
        return;
    int w = 0, h = 0, r = 0;
    ram->read([&](const u8 *img) {
        const EdidView rec(img, slot);
        w = rec.width();
        h = rec.height();
        r = rec.rate();
    });
    u8 edid[edid_table::EDID_SIZE];
    if (Set_Custom_HDMI_EDID(slot, w, h, r, edid) == 0)
        writeLogMsg(LOG_NOTICE, QStringLiteral("input %1: %2x%3@%4 has no EDID timing, default table used")
                                    .arg(slot).arg(w).arg(h).arg(r));
    if (!m_sim.write_edid(slot, edid, int(sizeof edid)))
        writeLogMsg(LOG_FAILURE, QStringLiteral("input %1: EDID write failed").arg(slot));
    pc_edid_loaded[slot].store(0);   // the custom table replaces a PC-loaded one
}
