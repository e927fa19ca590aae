#include "led_output/fpga_manage.h"

#include <QFileInfo>

#include "core/logmsg.h"
#include "core/qelrampara.h"
#include "core/refresh_codes.h"
#include "core/sim_config.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/rcv_cmd.h"
#include "led_output/rcv_recovery_file.h"

// The manager's lifetime, its register mirrors and geometry blocks, the port
// watcher, the LED set-up hand-over and the posting of jobs and upgrades.
// The jobs, the upgrade and the ageing sample have their own files.

fpga_manage *fpga_manage::p_fpga_manage = nullptr;
std::atomic<u8> fpga_manage::pc_command_pending{0};

namespace {
// registers the mirrors follow: below 171, not 64..127
bool mirrored(int reg) { return reg >= 0 && reg < 171 && (reg < 64 || reg > 127); }
}

u32 fpga_manage::ticks() { return G_timeTicks.load(std::memory_order_relaxed); }

bool fpga_manage::path_below(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// ---------------------------------------------------------------- lifetime

fpga_manage *fpga_manage::pInstance()
{
    if (!p_fpga_manage)
        p_fpga_manage = new fpga_manage();
    return p_fpga_manage;
}

void fpga_manage::destroyInstance()
{
    if (!p_fpga_manage)
        return;
    fpga_manage *m = p_fpga_manage;
    m->stop();
    p_fpga_manage = nullptr;
    delete m;
}

fpga_manage::fpga_manage()
{
    const SimConfig sim = SimConfig::load();
    for (int f = 0; f < 2; ++f) {
        m_fpga[f] = new fpga_drv(f);
        configure_sim(f, sim);
        MCU_REG_func[f] = m_reg_mirror[f];
        MCU_RAM_PARA_func[f] = m_geo_mirror[f];
    }
    m_cmd = new rcv_cmd(m_fpga[0], m_fpga[1]);
    rcv_recovery = new rcvRecovery;
    {
        std::lock_guard<std::mutex> lock(m_reg_mutex);
        u8 v;
        for (int f = 0; f < 2; ++f)
            for (int r = 0; r < 171; ++r)
                if (mirrored(r))
                    read_reg_locked(f, u8(r), &v);
    }
    refresh_geometry();
    for (int f = 0; f < 2; ++f)
        m_link_word[f] = link_word(f);
}

fpga_manage::~fpga_manage()
{
    stop();
    delete m_cmd;
    delete rcv_recovery;
    delete m_fpga[0];
    delete m_fpga[1];
}

void fpga_manage::configure_sim(int fpga, const SimConfig &cfg)
{
    const int first = fpga_drv::PORTS * fpga;
    m_fpga[fpga]->configure(cfg.fpgas[fpga], cfg.cards + first, cfg.cardReply + first);
}

bool fpga_manage::apply_sim(const SimConfig &was, const SimConfig &now)
{
    fpga_manage *m = p_fpga_manage;
    if (!m)
        return false;
    bool changed = false;
    for (int f = 0; f < 2; ++f) {
        if (!now.sameFpga(was, f)) {
            m->configure_sim(f, now);
            changed = true;
        }
    }
    return changed;
}

namespace {
// Made once and never destroyed, so wake() is safe at any time.
ManagerThread &managerThread()
{
    static ManagerThread *const t = new ManagerThread();
    return *t;
}
}

void fpga_manage::start()
{
    managerThread().start([this] {
        pass();
        return next_sleep_ms();
    });
}

void fpga_manage::stop()
{
    managerThread().stop();
}

void fpga_manage::wake()
{
    managerThread().wake();
}

const ManagerThread &fpga_manage::thread()
{
    return managerThread();
}

fpga_drv *fpga_manage::fpga(int index) const
{
    return index == 0 || index == 1 ? m_fpga[index] : nullptr;
}

// ---------------------------------------------------------------- registers

void fpga_manage::store_byte(u8 *p, u8 v)
{
    __atomic_store_n(p, v, __ATOMIC_RELAXED);
}

u8 fpga_manage::load_byte(const u8 *p)
{
    return __atomic_load_n(p, __ATOMIC_RELAXED);
}

u8 fpga_manage::reg_mirror(int fpga, int reg) const
{
    if (fpga < 0 || fpga > 1 || reg < 0 || reg > 255)
        return 0;
    return load_byte(&m_reg_mirror[fpga][reg]);
}

u16 fpga_manage::geometry_mirror(int fpga, int offset) const
{
    if (fpga < 0 || fpga > 1 || offset < 0 || offset + 1 >= fpga_drv::GEOMETRY_SIZE)
        return 0;
    return u16(load_byte(&m_geo_mirror[fpga][offset]) | load_byte(&m_geo_mirror[fpga][offset + 1]) << 8);
}

bool fpga_manage::read_reg_locked(int fpga, u8 reg, u8 *value)
{
    if (!m_fpga[fpga]->read_register(reg, value))
        return false;
    if (load_byte(&m_reg_mirror[fpga][reg]) != *value)
        store_byte(&m_reg_mirror[fpga][reg], *value);
    return true;
}

void fpga_manage::refresh_geometry()
{
    u8 block[fpga_drv::GEOMETRY_SIZE];
    std::lock_guard<std::mutex> lock(m_reg_mutex);
    for (int f = 0; f < 2; ++f) {
        if (!m_fpga[f]->read_geometry(block, fpga_drv::GEOMETRY_SIZE))
            continue;
        for (int i = 0; i < fpga_drv::GEOMETRY_SIZE; ++i)
            if (load_byte(&m_geo_mirror[f][i]) != block[i])
                store_byte(&m_geo_mirror[f][i], block[i]);
    }
}

int fpga_manage::get_eth_param_addr(int port, u16 *x, u16 *y, u16 *width, u16 *height)
{
    u16 base = 8;
    if (port == 1)
        base = 19;
    else if (port == 2)
        base = 32;
    else if (port == 3)
        base = 43;
    else if (port >= 4 && port <= 7)
        base = u16(520 + 8 * (port - 4));
    else if (port >= 8 && port <= 15)
        base = u16(576 + 8 * (port - 8));
    if (x)
        *x = base;
    if (y)
        *y = u16(base + 2);
    if (width)
        *width = u16(base + 4);
    if (height)
        *height = u16(base + 6);
    return 0;
}

void fpga_manage::read_from_register(u8 reg, u8 fpga)
{
    if (fpga > 1 || !mirrored(reg))
        return;
    std::lock_guard<std::mutex> lock(m_reg_mutex);
    u8 v;
    if (!read_reg_locked(fpga, reg, &v))
        writeLogMsg(LOG_FAILURE, QStringLiteral("FPGA %1 register %2 unreadable").arg(fpga).arg(reg));
}

void fpga_manage::write_to_register(u8 reg, u8 mask, u8 value, u8 fpga)
{
    if (fpga > 1)
        return;
    std::lock_guard<std::mutex> lock(m_reg_mutex);
    u8 old = load_byte(&m_reg_mirror[fpga][reg]);
    m_fpga[fpga]->read_register(reg, &old);
    const u8 v = u8((old & ~mask) | (value & mask));
    if (m_fpga[fpga]->write_register(reg, v))
        store_byte(&m_reg_mirror[fpga][reg], v);
    else
        writeLogMsg(LOG_FAILURE, QStringLiteral("FPGA %1 register %2 not written").arg(fpga).arg(reg));
}

// Link word of one FPGA (0 while it does not run); bit k is output port
// 12 f + k + 1. An FPGA whose registers cannot be read has no links until
// they are read again.
u16 fpga_manage::link_word(int fpga)
{
    std::lock_guard<std::mutex> lock(m_reg_mutex);
    u8 state = 0;
    const bool answered = read_reg_locked(fpga, fpga_drv::REG_STATE, &state);
    if (answered && state == fpga_drv::STATE_RUNNING)
        return read_links_locked(fpga);
    m_links_unread[fpga].store(!answered, std::memory_order_relaxed);
    return 0;
}

// The link word as the FPGA reports it now (caller holds m_reg_mutex); 0,
// and no links on the mirrors until a read succeeds, when it does not answer.
u16 fpga_manage::read_links_locked(int fpga)
{
    u8 low = 0, high = 0;
    const bool read =
        read_reg_locked(fpga, fpga_drv::REG_LINK_LOW, &low) && read_reg_locked(fpga, fpga_drv::REG_LINK_HIGH, &high);
    m_links_unread[fpga].store(!read, std::memory_order_relaxed);
    return read ? u16((low | high << 8) & 0x0FFF) : 0;
}

// The same mask from the register mirrors as the port watcher last read
// them: no bus traffic, for the GUI thread.
u32 fpga_manage::link_mask() const
{
    u32 mask = 0;
    for (int f = 0; f < 2; ++f) {
        if (m_links_unread[f].load(std::memory_order_relaxed)
            || reg_mirror(f, fpga_drv::REG_STATE) != fpga_drv::STATE_RUNNING)
            continue;
        const u16 word = u16(reg_mirror(f, fpga_drv::REG_LINK_LOW) | reg_mirror(f, fpga_drv::REG_LINK_HIGH) << 8);
        mask |= u32(word & 0x0FFF) << (12 * f);
    }
    return mask;
}

u32 fpga_manage::get_wlan_state()
{
    u32 mask = 0;
    for (int f = 0; f < 2; ++f) {
        if (reg_mirror(f, fpga_drv::REG_STATE) != fpga_drv::STATE_RUNNING)
            continue;
        std::lock_guard<std::mutex> lock(m_reg_mutex);
        mask |= u32(read_links_locked(f)) << (12 * f);
    }
    return mask;
}

// ---------------------------------------------------------------- the pass

void fpga_manage::pass()
{
    if (service_led_setup())
        emit sig_led_setup_done();
    if (m_refresh_pending && Utils::getTimeSpace(m_refresh_stamp) >= REFRESH_DELAY_TICKS) {
        m_refresh_pending = false;
        refresh(REFRESH_SAVE);
    }
    if (g_usb_grade.load(std::memory_order_acquire) != 0) {
        usb_upgrade_deal();
        return;
    }
    port_watch();
    run_job();
}

// A job, an upgrade, an LED set-up or a deferred refresh goes on every tick;
// otherwise the port links are polled.
int fpga_manage::next_sleep_ms() const
{
    const bool working = m_run.code != 0 || g_send_para.job() != 0 || g_usb_grade.load(std::memory_order_acquire) != 0
                         || g_set_led_para.load() != 0 || m_led_phase != LedPhase::Idle || m_refresh_pending;
    return working ? ManagerThread::WORK_MS : ManagerThread::POLL_MS;
}

void fpga_manage::refresh(int code)
{
    if (QelRamPara *p = QelRamPara::p_qelrampara_config)
        p->test_signal(code);
}

void fpga_manage::port_watch()
{
    bool changed = false;
    for (int f = 0; f < 2; ++f) {
        const u16 w = link_word(f);
        if (w != m_link_word[f]) {
            m_link_word[f] = w;
            changed = true;
        }
    }
    if (changed)
        refresh(REFRESH_PORT_LINKS);
}

// LED set-up hand-over. Request 1 (screens): the screen output goes to its
// set-up state, g_set_led_setup steps to 1 after 11 ticks and to 2 after 31
// more, then the output returns and both flags clear. Request 2 (scaler):
// both flags clear and both FPGAs are reset. True when either ended; the
// output geometry has been read again by then.
bool fpga_manage::service_led_setup()
{
    std::lock_guard<std::mutex> lock(Utils::_led_para_init_mutex);
    const u8 para = g_set_led_para.load();
    if (para == 2) {
        g_set_led_para = 0;
        g_set_led_setup = 0;
        m_led_phase = LedPhase::Idle;
        for (int f = 0; f < 2; ++f)
            m_fpga[f]->pulse_reset();
        read_from_register(fpga_drv::REG_OUTPUT, 0);
        read_from_register(fpga_drv::REG_OUTPUT, 1);
        refresh_geometry();
        return true;
    }
    if (para != 1) {
        m_led_phase = LedPhase::Idle;
        return false;
    }
    const bool stepping = m_led_phase == LedPhase::StepOne || m_led_phase == LedPhase::StepTwo;
    if (m_led_phase == LedPhase::Idle || (g_set_led_setup.load() == 0 && stepping)) {
        // a new request, or one made again while the last was running
        write_to_register(fpga_drv::REG_OUTPUT, 0x01, 0x01, 0);
        write_to_register(fpga_drv::REG_OUTPUT, 0x01, 0x01, 1);
        m_led_phase = LedPhase::OutputHeld;
        m_led_stamp = ticks();
        return false;
    }
    const u32 elapsed = Utils::getTimeSpace(m_led_stamp);
    if (m_led_phase == LedPhase::OutputHeld && elapsed >= 11) {
        g_set_led_setup = 1;
        m_led_phase = LedPhase::StepOne;
        m_led_stamp = ticks();
    } else if (m_led_phase == LedPhase::StepOne && elapsed >= 31) {
        g_set_led_setup = 2;
        m_led_phase = LedPhase::StepTwo;
    } else if (m_led_phase == LedPhase::StepTwo) {
        write_to_register(fpga_drv::REG_OUTPUT, 0x01, 0x00, 0);
        write_to_register(fpga_drv::REG_OUTPUT, 0x01, 0x00, 1);
        refresh_geometry();
        g_set_led_para = 0;
        g_set_led_setup = 0;
        m_led_phase = LedPhase::Idle;
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- posting

bool fpga_manage::post_job(u8 job)
{
    if (job < JOB_SMART_MAPPING || job > JOB_SELF_RECOVERY || !p_fpga_manage)
        return false;
    if (g_usb_grade.load(std::memory_order_acquire) != 0)
        return false;
    u16 w = g_send_para.word.load(std::memory_order_acquire);
    if (w & 0xFF)
        return false;
    // job code with state 0 in one release store, unless another poster won
    if (!g_send_para.word.compare_exchange_strong(w, u16(job), std::memory_order_release, std::memory_order_relaxed))
        return false;
    wake();
    return true;
}

bool fpga_manage::start_usb_upgrade()
{
    if (!p_fpga_manage || g_send_para.job() != 0 || g_usb_grade.load(std::memory_order_acquire) != 0)
        return false;
    g_send_para.set_state(0);
    g_usb_grade.store(1, std::memory_order_release);
    wake();
    return true;
}
