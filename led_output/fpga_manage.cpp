#include "led_output/fpga_manage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTime>
#include <algorithm>

#include "core/logmsg.h"
#include "core/qelrampara.h"
#include "core/sim_config.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/locked_copy.h"
#include "led_output/rcv_card.h"
#include "led_output/rcv_cmd.h"
#include "led_output/rcv_frame.h"
#include "led_output/rcv_recovery_file.h"
#include "ui/shell/screens.h"

fpga_manage *fpga_manage::p_fpga_manage = nullptr;
std::atomic<u8> fpga_manage::pc_command_pending{0};

namespace {
u32 now() { return G_timeTicks.load(std::memory_order_relaxed); }

// registers the mirrors follow: below 171, not 64..127
bool mirrored(int reg) { return reg >= 0 && reg < 171 && (reg < 64 || reg > 127); }

QString clockText()
{
    QTime t;
    {
        std::lock_guard<std::recursive_mutex> lock(Utils::_system_mutex);
        t = QTime::currentTime();
    }
    return QStringLiteral("%1:%2:%3").arg(t.hour()).arg(t.minute()).arg(t.second());
}

bool below(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// A host path inside one of the folders, symbolic links resolved; empty when
// the path leaves them.
QString insideFolders(const QString &path, const QStringList &folders)
{
    const QString canon = QFileInfo(path).canonicalFilePath();
    if (canon.isEmpty())
        return QString();
    for (const QString &f : folders) {
        const QString base = QFileInfo(f).canonicalFilePath();
        if (!base.isEmpty() && canon != base && below(canon, base))
            return canon;
    }
    return QString();
}
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
        m_fpga[f]->configure(sim.fpgas[f], sim.cards + 12 * f, sim.cardReply + 12 * f);
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

void fpga_manage::start()
{
    m_thread.start([this] { pass(); }, 10);
}

void fpga_manage::stop()
{
    m_thread.stop();
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
// 12 f + k + 1.
u16 fpga_manage::link_word(int fpga)
{
    std::lock_guard<std::mutex> lock(m_reg_mutex);
    u8 state = 0, low = 0, high = 0;
    if (!read_reg_locked(fpga, fpga_drv::REG_STATE, &state) || state != fpga_drv::STATE_RUNNING)
        return 0;
    if (!read_reg_locked(fpga, fpga_drv::REG_LINK_LOW, &low) || !read_reg_locked(fpga, fpga_drv::REG_LINK_HIGH, &high))
        return 0;
    return u16((low | high << 8) & 0x0FFF);
}

u32 fpga_manage::get_wlan_state()
{
    u32 mask = 0;
    for (int f = 0; f < 2; ++f) {
        if (reg_mirror(f, fpga_drv::REG_STATE) != fpga_drv::STATE_RUNNING)
            continue;
        std::lock_guard<std::mutex> lock(m_reg_mutex);
        u8 low = 0, high = 0;
        if (read_reg_locked(f, fpga_drv::REG_LINK_LOW, &low) && read_reg_locked(f, fpga_drv::REG_LINK_HIGH, &high))
            mask |= u32((low | high << 8) & 0x0FFF) << (12 * f);
    }
    return mask;
}

// The same mask from the register mirrors as the port watcher last read
// them: no bus traffic, for the GUI thread.
u32 fpga_manage::link_mask() const
{
    u32 mask = 0;
    for (int f = 0; f < 2; ++f) {
        if (reg_mirror(f, fpga_drv::REG_STATE) != fpga_drv::STATE_RUNNING)
            continue;
        const u16 word = u16(reg_mirror(f, fpga_drv::REG_LINK_LOW) | reg_mirror(f, fpga_drv::REG_LINK_HIGH) << 8);
        mask |= u32(word & 0x0FFF) << (12 * f);
    }
    return mask;
}

// ---------------------------------------------------------------- the pass

void fpga_manage::pass()
{
    service_led_setup();
    if (m_refresh_pending && Utils::getTimeSpace(m_refresh_stamp) >= REFRESH_DELAY_TICKS) {
        m_refresh_pending = false;
        refresh(1);
    }
    if (g_usb_grade.load(std::memory_order_acquire) != 0) {
        usb_upgrade_deal();
        return;
    }
    port_watch();
    run_job();
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
        refresh(11);
}

// LED set-up hand-over. Request 1 (screens): the screen output goes to its
// set-up state, g_set_led_setup steps to 1 after 11 ticks and to 2 after 31
// more, then the output returns and both flags clear. Request 2 (scaler):
// both flags clear and both FPGAs are reset.
void fpga_manage::service_led_setup()
{
    std::lock_guard<std::mutex> lock(Utils::_led_para_init_mutex);
    const u8 para = g_set_led_para.load();
    if (para == 2) {
        g_set_led_para = 0;
        g_set_led_setup = 0;
        m_led_phase = 0;
        for (int f = 0; f < 2; ++f)
            m_fpga[f]->pulse_reset();
        read_from_register(fpga_drv::REG_OUTPUT, 0);
        read_from_register(fpga_drv::REG_OUTPUT, 1);
        return;
    }
    if (para != 1) {
        m_led_phase = 0;
        return;
    }
    const u8 setup = g_set_led_setup.load();
    if (m_led_phase == 0 || (setup == 0 && m_led_phase > 1)) {
        // a new request, or one made again while the last was running
        write_to_register(fpga_drv::REG_OUTPUT, 0x01, 0x01, 0);
        write_to_register(fpga_drv::REG_OUTPUT, 0x01, 0x01, 1);
        m_led_phase = 1;
        m_led_stamp = now();
        return;
    }
    const u32 elapsed = Utils::getTimeSpace(m_led_stamp);
    if (m_led_phase == 1 && elapsed >= 11) {
        g_set_led_setup = 1;
        m_led_phase = 2;
        m_led_stamp = now();
    } else if (m_led_phase == 2 && elapsed >= 31) {
        g_set_led_setup = 2;
        m_led_phase = 3;
    } else if (m_led_phase == 3) {
        write_to_register(fpga_drv::REG_OUTPUT, 0x01, 0x00, 0);
        write_to_register(fpga_drv::REG_OUTPUT, 0x01, 0x00, 1);
        refresh_geometry();
        g_set_led_para = 0;
        g_set_led_setup = 0;
        m_led_phase = 0;
    }
}

// ---------------------------------------------------------------- posting

bool fpga_manage::post_job(u8 job)
{
    if (job < JOB_SMART_MAPPING || job > JOB_SELF_RECOVERY || !p_fpga_manage)
        return false;
    if (g_usb_grade.load(std::memory_order_acquire) != 0 || g_qround_bar)
        return false;
    u16 w = g_send_para.word.load(std::memory_order_acquire);
    if (w & 0xFF)
        return false;
    // job code with state 0 in one release store, unless another poster won
    return g_send_para.word.compare_exchange_strong(w, u16(job), std::memory_order_release,
                                                    std::memory_order_relaxed);
}

bool fpga_manage::start_usb_upgrade()
{
    if (!p_fpga_manage || g_send_para.job() != 0 || g_usb_grade.load(std::memory_order_acquire) != 0)
        return false;
    g_send_para.set_state(0);
    g_usb_grade.store(1, std::memory_order_release);
    return true;
}

// ---------------------------------------------------------------- jobs

void fpga_manage::run_job()
{
    const u16 w = g_send_para.word.load(std::memory_order_acquire);
    const u8 job = u8(w & 0xFF);
    if (m_job != 0 && job != m_job)
        drop_job();   // cleared or replaced from outside
    if (m_job == 0) {
        if (job == 0)
            return;
        if (job > JOB_SELF_RECOVERY) {
            writeLogMsg(LOG_FAILURE, QStringLiteral("unknown receiving-card job %1").arg(job));
            u16 expected = w;
            g_send_para.word.compare_exchange_strong(expected, 0, std::memory_order_release,
                                                     std::memory_order_relaxed);
            return;
        }
        start_job(job);
    }
    // carry on while nothing has to be waited for, a bounded number of steps
    for (int i = 0; i < 64 && m_job != 0; ++i)
        if (!job_step())
            break;
}

void fpga_manage::start_job(u8 job)
{
    m_job = job;
    m_step = 0;
    m_job_stamp = now();
    m_last_progress = -1;
    m_port = 0;
    m_card = 0;
    m_count = 0;
    m_offset = 0;
    m_found = false;
    m_data.clear();
    {
        std::lock_guard<std::mutex> lock(g_line_type_mutex);
        m_line = line_type;
        m_file = g_qlfile_name;
    }
    m_value = u8(g_send_para.arg.load() & 0xFF);
    if (job == JOB_CHECK_CARDS)
        set_result(QStringList());   // the check screen empties its list when it posts the job
    report(0);
}

void fpga_manage::drop_job()
{
    m_job = 0;
    m_step = 0;
    m_data.clear();
}

bool fpga_manage::job_step()
{
    switch (m_job) {
    case JOB_SMART_MAPPING: return step_smart_mapping();
    case JOB_LOAD_FROM_USB: return step_load_scan();
    case JOB_SAVE_PARA: return step_save_para();
    case JOB_MAPPING_ENABLE: return step_mapping_enable();
    case JOB_CHECK_CARDS:
    case JOB_SELF_RECOVERY: return step_recovery();
    default: drop_job(); return false;
    }
}

// Progress below the end, 0..99, sent when it changes.
void fpga_manage::report(int value)
{
    value = qBound(0, value, 99);
    if (value == m_last_progress)
        return;
    m_last_progress = value;
    emit sig_job_progress(m_job, value);
}

// The job word goes back to 0 before the final 100.
void fpga_manage::finish_job()
{
    const u8 job = m_job;
    drop_job();
    g_send_para.clear();
    emit sig_job_progress(job, 100);
}

bool fpga_manage::exchange_started(bool sent)
{
    if (sent)
        m_ex_stamp = now();
    return sent;
}

fpga_manage::Poll fpga_manage::poll_exchange()
{
    if (m_cmd->poll(m_ex_port, now(), &m_ex_status, &m_ex_extra))
        return Poll::Replied;
    if (Utils::getTimeSpace(m_ex_stamp) >= CARD_REPLY_TICKS)
        return Poll::TimedOut;
    return Poll::Pending;
}

bool fpga_manage::start_search(int port)
{
    m_port = port;
    m_ex_port = port;
    return exchange_started(m_cmd->search(port, now()));
}

// The card count of the search in flight (0 without a reply); false while
// it is pending.
bool fpga_manage::search_done(int *count)
{
    const Poll r = poll_exchange();
    if (r == Poll::Pending)
        return false;
    if (r != Poll::Replied || m_ex_status != 0 || m_ex_extra.size() < 2)
        *count = 0;
    else
        *count = qMin(int(u8(m_ex_extra[0]) | u8(m_ex_extra[1]) << 8), int(rcv_frame::CARD_SEARCH) - 1);
    return true;
}

// Once the exchange in flight is over, `*counter` moves on and the job goes to `step`.
bool fpga_manage::next_after_reply(int *counter, int step)
{
    if (poll_exchange() == Poll::Pending)
        return false;
    ++*counter;
    m_step = step;
    return true;
}

// Step 0 of the jobs on the line's port: its search, unless the job has
// nothing to do (`usable` false) and ends.
bool fpga_manage::search_line_port(bool usable)
{
    if (!usable || m_line.output_port > 23 || !start_search(m_line.output_port)) {
        finish_job();
        return false;
    }
    m_step = 1;
    return true;
}

// Step 1 of the jobs on the line's port: the job ends when no card answers
// the search, else goes on at step 2 from the first card and byte.
bool fpga_manage::step_line_cards()
{
    if (!search_done(&m_count))
        return false;
    if (m_count == 0) {
        finish_job();
        return false;
    }
    m_card = 0;
    m_offset = 0;
    m_step = 2;
    return true;
}

// Step 0 of the jobs over all 24 ports: search the next port, or after the
// last one wait for the end at `end` percent.
bool fpga_manage::step_next_port(int end)
{
    if (m_port >= 24) {
        begin_end_wait(end);
        return true;
    }
    report(m_port * end / 24);
    return wait_or_skip(start_search(m_port), &m_port, 1);
}

// A request sent waits for its reply at `step`; one not sent moves `*counter` on.
bool fpga_manage::wait_or_skip(bool sent, int *counter, int step)
{
    if (sent)
        m_step = step;
    else
        ++*counter;
    return true;
}

void fpga_manage::begin_end_wait(int progress)
{
    report(progress);
    m_job_stamp = now();
    m_step = END_STEP;
}

bool fpga_manage::end_wait()
{
    if (Utils::getTimeSpace(m_job_stamp) >= END_WAIT_TICKS)
        finish_job();
    return false;
}

// Progress by the time since the stage began, 500 ticks to the end; never back.
void fpga_manage::report_elapsed()
{
    report(qMax(m_last_progress, int(100 * quint64(Utils::getTimeSpace(m_job_stamp)) / 500)));
}

bool fpga_manage::rcvcard_x_y(const LINE_TYPE &line, int index, u16 *x, u16 *y)
{
    const int rows = line.rows, cols = line.columns, p = line.routing;
    if (rows < 1 || cols < 1 || p < 1 || p > 16 || index < 0 || index >= rows * cols)
        return false;
    int row, col;
    if (p <= 4 || (p >= 9 && p <= 12)) {
        // row after row
        const int seq = index / cols, pos = index % cols;
        const bool fromBottom = p == 1 || p == 2 || p == 9 || p == 11;
        bool rightToLeft = p == 1 || p == 3 || p == 9 || p == 12;
        if (p <= 4 && (seq & 1))
            rightToLeft = !rightToLeft;   // turning back at each row end
        row = fromBottom ? rows - 1 - seq : seq;
        col = rightToLeft ? cols - 1 - pos : pos;
    } else {
        // column after column
        const int seq = index / rows, pos = index % rows;
        const bool fromRight = p == 5 || p == 6 || p == 13 || p == 16;
        bool bottomToTop = p == 5 || p == 8 || p == 13 || p == 15;
        if (p <= 8 && (seq & 1))
            bottomToTop = !bottomToTop;
        col = fromRight ? cols - 1 - seq : seq;
        row = bottomToTop ? rows - 1 - pos : pos;
    }
    if (x)
        *x = u16(col * line.cabinet_width);
    if (y)
        *y = u16(row * line.cabinet_height);
    return true;
}

bool fpga_manage::get_rcvcard_x_y(int index, u16 *x, u16 *y) const
{
    return rcvcard_x_y(m_line, index, x, y);
}

// Runs the stage while the job is one of `jobs` and nothing has to be waited for.
void fpga_manage::run_stage(bool (fpga_manage::*step)(), std::initializer_list<u8> jobs)
{
    while (std::find(jobs.begin(), jobs.end(), m_job) != jobs.end() && (this->*step)()) {
    }
}

void fpga_manage::SmartMapping_deal() { run_stage(&fpga_manage::step_smart_mapping, {JOB_SMART_MAPPING}); }
void fpga_manage::save_para_deal() { run_stage(&fpga_manage::step_save_para, {JOB_SAVE_PARA}); }
void fpga_manage::mapping_enable_deal() { run_stage(&fpga_manage::step_mapping_enable, {JOB_MAPPING_ENABLE}); }

void fpga_manage::rcv_recovery_check_deal(int what)
{
    if (what == 2)
        run_stage(&fpga_manage::step_load_scan, {JOB_LOAD_FROM_USB});
    else
        run_stage(&fpga_manage::step_recovery, {JOB_CHECK_CARDS, JOB_SELF_RECOVERY});
}

// Job 1: every card of the port learns its position on the canvas.
bool fpga_manage::step_smart_mapping()
{
    switch (m_step) {
    case 0:
        // nothing to place without rows, columns and a pattern
        return search_line_port(m_line.rows != 0 && m_line.columns != 0 && m_line.routing >= 1
                                && m_line.routing <= 16);
    case 1:
        return step_line_cards();
    case 2: {
        if (m_card >= m_count) {
            begin_end_wait(90);
            return true;
        }
        report(m_card * 90 / m_count);
        u16 x, y;
        if (!get_rcvcard_x_y(m_card, &x, &y)) {
            ++m_card;   // past rows x columns: no place for it
            return true;
        }
        const u16 px = u16(m_line.horizontal_offset + x), py = u16(m_line.vertical_offset + y);
        QByteArray pos;
        pos.append(char(px & 0xFF));
        pos.append(char(px >> 8));
        pos.append(char(py & 0xFF));
        pos.append(char(py >> 8));
        const bool sent = m_cmd->write_ram(m_port, u16(m_card), rcv_card::POSITION_ADDR, pos, now());
        return wait_or_skip(exchange_started(sent), &m_card, 3);
    }
    case 3:
        return next_after_reply(&m_card, 2);
    default:
        return end_wait();
    }
}

// Job 2: the chosen scan file goes to every card of the port.
bool fpga_manage::step_load_scan()
{
    report_elapsed();
    switch (m_step) {
    case 0: {
        const QStringList folders = {Utils::devicePath(QLatin1String(rcvRecovery::SMART_DIR)),
                                     Utils::devicePath(QStringLiteral("/mnt/usb1"))};
        QString path;
        if (!m_file.isEmpty()) {
            path = insideFolders(m_file, folders);
            if (path.isEmpty())
                path = insideFolders(Utils::devicePath(m_file), folders);
        }
        QFile f(path);
        if (path.isEmpty() || !QFileInfo(path).isFile() || f.size() <= 0 || f.size() > rcvRecovery::MAX_FILE_SIZE
            || !f.open(QIODevice::ReadOnly)) {
            writeLogMsg(LOG_FAILURE, QStringLiteral("scan file refused or missing"));
            finish_job();
            return false;
        }
        m_data = f.readAll();
        return search_line_port(!m_data.isEmpty());
    }
    case 1:
        return step_line_cards();
    case 2: {
        const QByteArray chunk = m_data.mid(m_offset, 256);
        if (!exchange_started(m_cmd->load_scan(m_port, u32(m_offset), u32(m_data.size()), chunk, now()))) {
            finish_job();
            return false;
        }
        m_step = 3;
        return true;
    }
    default: {
        const Poll r = poll_exchange();
        if (r == Poll::Pending)
            return false;
        if (r == Poll::TimedOut || m_ex_status != 0) {
            writeLogMsg(LOG_FAILURE, QStringLiteral("scan data not taken on port %1").arg(m_port + 1));
            finish_job();
            return false;
        }
        m_offset += 256;
        if (m_offset >= m_data.size()) {
            finish_job();
            return false;
        }
        m_step = 2;
        return true;
    }
    }
}

// Job 3: every card of every port keeps its parameters.
bool fpga_manage::step_save_para()
{
    switch (m_step) {
    case 0:
        return step_next_port(95);
    case 1:
        if (!search_done(&m_count))
            return false;
        m_card = 0;
        m_step = 2;
        return true;
    case 2:
        if (m_card >= m_count) {
            ++m_port;
            m_step = 0;
            return true;
        }
        report((m_port * m_count + m_card) * 95 / (24 * m_count));
        return wait_or_skip(exchange_started(m_cmd->save_parameters(m_port, u16(m_card), now())), &m_card, 3);
    case 3:
        return next_after_reply(&m_card, 2);
    default:
        return end_wait();
    }
}

// Job 4: the mapping register of all cards of each port with cards.
bool fpga_manage::step_mapping_enable()
{
    switch (m_step) {
    case 0:
        return step_next_port(95);
    case 1: {
        int count;
        if (!search_done(&count))
            return false;
        if (count == 0
            || !exchange_started(
                m_cmd->write_register(m_port, rcv_frame::CARD_ALL, rcv_card::REG_MAPPING, m_value, now()))) {
            ++m_port;
            m_step = 0;
            return true;
        }
        m_step = 2;
        return true;
    }
    case 2:
        return next_after_reply(&m_port, 0);
    default:
        return end_wait();
    }
}

// Jobs 5 and 6. Job 6 first writes the stored parameters into the card found
// by the last check (sub-step 16: read the recovery data, 17: written, wait
// for the card); both then check every card named in the recovery data and
// stop at the first one that asks for recovery.
bool fpga_manage::step_recovery()
{
    switch (m_step) {
    case 0:
        if (!m_cmd->port_ready(0) || !m_cmd->port_ready(12)) {
            g_send_para.sub_step = 0;
            finish_job();
            m_refresh_pending = true;   // refresh code 1 follows 100 ticks later
            m_refresh_stamp = now();
            return false;
        }
        m_step = m_job == JOB_SELF_RECOVERY ? 1 : 10;
        return true;
    case 1: {
        const u16 counter = g_send_para.recovery_counter.load();
        m_step = 10;
        if (counter == 255 || counter == NO_RECOVERY)
            return true;
        g_send_para.sub_step = 16;
        // the file the check found, by name: the list may have changed since
        QVector<rcvRecovery::Section> sections;
        QByteArray para;
        const int port = rcv_recovery->port_index();
        if (rcv_recovery->read_file(rcv_recovery->found_file(), &sections)) {
            for (const rcvRecovery::Section &s : sections)
                if (s.port == port)
                    para = rcvRecovery::block(s, counter);
        }
        m_ex_port = port;
        if (para.isEmpty() || !exchange_started(m_cmd->write_recovery(port, counter, para, now()))) {
            writeLogMsg(LOG_FAILURE, QStringLiteral("no recovery data for LED%1 card %2").arg(port + 1).arg(counter + 1));
            g_send_para.sub_step = 0;
            return true;
        }
        g_send_para.sub_step = 17;
        m_step = 2;
        return true;
    }
    case 2:
        report_elapsed();
        if (poll_exchange() == Poll::Pending)
            return false;
        g_send_para.sub_step = 0;
        m_step = 10;
        return true;
    default:
        return step_check_scan();
    }
}

bool fpga_manage::step_check_scan()
{
    switch (m_step) {
    case 10:
        rcv_recovery->get_dir_file(QLatin1String(rcvRecovery::RECOVERY_DIR));
        m_screens = rcv_recovery->recovery_files();
        m_screen = 0;
        m_found = false;
        m_job_stamp = now();
        m_step = 11;
        return true;
    case 11: {
        // the screen index travels in one byte
        if (m_screen >= m_screens.size() || m_screen > 255) {
            end_recovery();
            return false;
        }
        QVector<rcvRecovery::Section> sections;
        m_section_port.clear();
        m_section_count.clear();
        if (!rcv_recovery->read_file(m_screens.at(m_screen), &sections)) {
            ++m_screen;
            return true;
        }
        for (const rcvRecovery::Section &s : sections) {
            m_section_port.append(s.port);
            m_section_count.append(s.card_count);
        }
        m_section = 0;
        m_step = 12;
        return true;
    }
    case 12:
        report_elapsed();
        if (m_section >= m_section_port.size()) {
            ++m_screen;
            m_step = 11;
            return true;
        }
        return wait_or_skip(start_search(m_section_port.at(m_section)), &m_section, 13);
    case 13:
        if (!search_done(&m_count))
            return false;
        m_card = 0;
        m_step = 14;
        return true;
    case 14:
        report_elapsed();
        if (m_card >= m_count) {
            ++m_section;
            m_step = 12;
            return true;
        }
        // 255 stands for "no card" in the recovery counter
        return wait_or_skip(m_card != 255 && exchange_started(m_cmd->read_recovery(m_port, u16(m_card), now())),
                            &m_card, 15);
    default: {
        const Poll r = poll_exchange();
        if (r == Poll::Pending)
            return false;
        if (r == Poll::Replied && m_ex_status == 0 && !m_ex_extra.isEmpty() && m_ex_extra.at(0) == 1) {
            g_send_para.recovery_counter = u16(m_card);
            g_send_para.screen_index = u8(m_screen);
            rcv_recovery->set_found(m_screens.at(m_screen), u8(m_port), u16(m_section_count.at(m_section)));
            m_found = true;
            end_recovery();
            return false;
        }
        ++m_card;
        m_step = 14;
        return true;
    }
    }
}

// The result goes to the GUI thread before the refresh code that announces
// it, then the job ends.
void fpga_manage::end_recovery()
{
    if (!m_found)
        g_send_para.recovery_counter = NO_RECOVERY;
    const u16 counter = g_send_para.recovery_counter.load();
    if (counter != 255 && counter != NO_RECOVERY) {
        const QString entry = QString::asprintf("%02d/%02d/%02d/%02d", g_send_para.screen_index.load() + 1,
                                                rcv_recovery->port_index() + 1, counter + 1,
                                                int(rcv_recovery->card_count()));
        const QStringList entries{entry};
        set_result(entries);
        emit sig_recovery_result(entries, 1);
        refresh(1);
    } else if (m_job == JOB_SELF_RECOVERY && set_result(QStringList())) {
        emit sig_recovery_result(QStringList(), 0);
        refresh(99);
    }
    g_send_para.sub_step = 0;
    finish_job();
}

// Stores the result list; true when the one before was not empty.
bool fpga_manage::set_result(const QStringList &entries)
{
    std::lock_guard<std::mutex> lock(m_result_mutex);
    const bool had = m_result_count != 0;
    m_result_entries = entries;
    m_result_count = entries.size();
    return had;
}

void fpga_manage::recovery_result(QStringList *entries, int *count) const
{
    std::lock_guard<std::mutex> lock(m_result_mutex);
    if (entries)
        *entries = m_result_entries;
    if (count)
        *count = m_result_count;
}

// ---------------------------------------------------------------- USB upgrade

QString fpga_manage::upgrade_times() const { return lockedCopy(m_result_mutex, usb_upgrade_times); }

void fpga_manage::set_upgrade_times(const QString &text)
{
    std::lock_guard<std::mutex> lock(m_result_mutex);
    usb_upgrade_times = text;
}

void fpga_manage::usb_upgrade_deal()
{
    switch (g_send_para.state()) {
    case 0:
        if (!g_update_flag.load())
            emit sig_update_start();
        set_upgrade_times(clockText());
        g_update_flag = 1;
        g_send_para.set_state(1);
        break;
    case 1:
        m_upgrade_files = list_upgrade_files();
        m_upgrade_index = 0;
        m_installed = 0;
        g_send_para.set_state(2);
        break;
    case 2:
        // one package a pass, so the LED hand-over keeps being served
        if (m_upgrade_index < m_upgrade_files.size()) {
            if (install_package(m_upgrade_files.at(m_upgrade_index)))
                ++m_installed;
            ++m_upgrade_index;
            break;
        }
        g_send_para.set_state(3);
        break;
    default: {
        set_upgrade_times(upgrade_times() + QStringLiteral("    ") + clockText());
        if (g_update_flag.load())
            emit sig_update_over();
        refresh(104);
        g_update_flag = 0;
        g_send_para.set_state(0);
        g_usb_grade.store(0, std::memory_order_release);
        if (m_installed > 0) {
            int status = 0;
            Utils::system_mutex(QStringLiteral("reboot"), &status);
        }
        m_upgrade_files.clear();
        break;
    }
    }
}

// The packages to install, in name order: the first "QEL" and every
// "QELZK" of the upgrade folder. Symbolic links are not taken.
QStringList fpga_manage::list_upgrade_files() const { return upgrade_package_list(); }

QStringList fpga_manage::upgrade_package_list()
{
    QStringList chosen;
    bool qelTaken = false;
    for (const QString &path : upgrade_file_list()) {
        if (QFileInfo(path).suffix() == QLatin1String("QELZK")) {
            chosen.append(path);
        } else if (!qelTaken) {
            chosen.append(path);
            qelTaken = true;
        }
    }
    return chosen;
}

QStringList fpga_manage::upgrade_file_list()
{
    QString dir = QStringLiteral("/mnt/usb1/");
    const QString sub = g_usb_grade_path.get();
    if (sub != QLatin1String(" "))
        dir += sub;
    const QString base = QDir::cleanPath(Utils::devicePath(QStringLiteral("/mnt/usb1/")));
    const QString folder = QDir::cleanPath(Utils::devicePath(dir));
    const QString canonBase = QFileInfo(base).canonicalFilePath();
    const QString canonFolder = QFileInfo(folder).canonicalFilePath();
    if (!below(folder, base) || canonBase.isEmpty() || canonFolder.isEmpty() || !below(canonFolder, canonBase)) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("upgrade folder refused"));
        return QStringList();
    }
    // name order ignoring case, as the USB page lists and marks them
    QFileInfoList entries = QDir(canonFolder).entryInfoList(QDir::Files | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    std::sort(entries.begin(), entries.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const int c = a.fileName().compare(b.fileName(), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.fileName() < b.fileName();
    });
    QStringList files;
    for (const QFileInfo &fi : entries) {
        if (fi.isSymLink() || !fi.isFile())
            continue;
        const QString suffix = fi.suffix();
        if (suffix == QLatin1String("QEL") || suffix == QLatin1String("QELZK"))
            files.append(fi.absoluteFilePath());
        if (files.size() == UPGRADE_FILES_MAX)
            break;
    }
    return files;
}

// Copies one package into "/data/app/" under its own name, atomically.
bool fpga_manage::install_package(const QString &source) const
{
    const QFileInfo src(source);
    const QString name = src.fileName();
    if (src.isSymLink() || !src.isFile() || name.isEmpty() || name == QLatin1String(".")
        || name == QLatin1String("..") || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("package refused: %1").arg(name));
        return false;
    }
    const QDir app(Utils::devicePath(QStringLiteral("/data/app/")));
    if (!QDir().mkpath(app.absolutePath()))
        return false;
    const QString target = app.absoluteFilePath(name);
    if (QFileInfo(target).absolutePath() != app.absolutePath())
        return false;
    if (QFileInfo(target).isSymLink())
        QFile::remove(target);   // the save would follow it
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("package not installed: %1").arg(name));
        return false;
    }
    QByteArray buf;
    while (!(buf = in.read(64 * 1024)).isEmpty()) {
        if (out.write(buf) != buf.size()) {
            out.cancelWriting();
            writeLogMsg(LOG_FAILURE, QStringLiteral("package write failed: %1").arg(name));
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError || !out.commit()) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("package not committed: %1").arg(name));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- ageing

bool fpga_manage::ageing_tick()
{
    if (Utils::getTimeSpace(G_factoryage_ticks.load()) <= AGE_SAMPLE_TICKS)
        return false;
    // one try each period; a sample that cannot be taken is skipped
    G_factoryage_ticks = G_timeTicks.load();
    fpga_manage *m = p_fpga_manage;
    if (!m || pc_command_pending.load() != 0)
        return true;
    static const u8 regs[3] = {fpga_drv::REG_AGE_COUNT, fpga_drv::REG_AGE_STATUS, fpga_drv::REG_AGE_EXTRA};
    u8 v[2][3];
    {
        // only the short register lock, never the manager's loop
        std::lock_guard<std::mutex> lock(m->m_reg_mutex);
        u8 state;
        for (int f = 0; f < 2; ++f)
            if (!m->read_reg_locked(f, fpga_drv::REG_STATE, &state))
                return true;
        for (int f = 0; f < 2; ++f)
            for (int i = 0; i < 3; ++i)
                if (!m->read_reg_locked(f, regs[i], &v[f][i]))
                    return true;
    }

    // increments of register 42 against the previous sample
    if (!factoryage_log.isEmpty()) {
        const QStringList prev = factoryage_log.last().split(QLatin1Char(' '));
        if (prev.size() == 8) {
            u32 *bins[2][5] = {{&factoryage_log_diff3, &factoryage_log_diff5, &factoryage_log_diff10,
                                &factoryage_log_diff20, &factoryage_log_diffmore},
                               {&factoryage_log2_diff3, &factoryage_log2_diff5, &factoryage_log2_diff10,
                                &factoryage_log2_diff20, &factoryage_log2_diffmore}};
            for (int f = 0; f < 2; ++f) {
                bool ok = false;
                const int before = prev.at(2 + 3 * f).toInt(&ok);
                if (!ok)
                    continue;
                const int d = (v[f][0] - before) & 0xFF;
                const int bin = d < 3 ? 0 : d < 5 ? 1 : d < 10 ? 2 : d < 20 ? 3 : 4;
                ++*bins[f][bin];
            }
        }
    }

    QDateTime when;
    {
        std::lock_guard<std::recursive_mutex> lock(Utils::_system_mutex);
        when = QDateTime::currentDateTime();
    }
    factoryage_log.append(when.toString(QStringLiteral("MM-dd hh:mm"))
                          + QStringLiteral(" %1 %2 %3 %4 %5 %6")
                                .arg(v[0][0])
                                .arg(v[0][1])
                                .arg(v[0][2])
                                .arg(v[1][0])
                                .arg(v[1][1])
                                .arg(v[1][2]));
    while (factoryage_log.size() > AGE_LOG_MAX)
        factoryage_log.removeFirst();
    return true;
}
