#include <algorithm>

#include "core/logmsg.h"
#include "core/utils.h"
#include "led_output/fpga_manage.h"
#include "led_output/rcv_card.h"
#include "led_output/rcv_cmd.h"
#include "led_output/rcv_frame.h"

// The receiving-card jobs: what every job shares (start, progress, end, the
// exchange with the cards), and jobs 1, 3 and 4. Job 2 lives in
// fpga_scan_job.cpp, jobs 5 and 6 in fpga_recovery_job.cpp.

namespace {
// Smart mapping has nothing to place without rows, columns and a pattern.
bool placeable(const LINE_TYPE &line)
{
    return line.rows != 0 && line.columns != 0 && line.routing >= 1 && line.routing <= 16;
}
}

// ---------------------------------------------------------------- every job

void fpga_manage::run_job()
{
    const u16 w = g_send_para.word.load(std::memory_order_acquire);
    const u8 job = u8(w & 0xFF);
    if (m_run.code != 0 && job != m_run.code)
        drop_job();   // cleared or replaced from outside
    if (m_run.code == 0) {
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
    for (int i = 0; i < 64 && m_run.code != 0; ++i)
        if (!job_step())
            break;
}

// A job's inputs are read once, when it starts.
void fpga_manage::start_job(u8 job)
{
    m_run = JobRun{job, ticks(), -1};
    LINE_TYPE line;
    QString file;
    {
        std::lock_guard<std::mutex> lock(g_line_type_mutex);
        line = line_type;
        file = g_qlfile_name;
    }
    switch (job) {
    case JOB_SMART_MAPPING:
        m_smart = SmartMappingJob{};
        m_smart.line = line;
        break;
    case JOB_LOAD_FROM_USB:
        m_scan = LoadScanJob{};
        m_scan.port = line.output_port;
        m_scan.file = file;
        break;
    case JOB_SAVE_PARA:
        m_save = SaveParaJob{};
        break;
    case JOB_MAPPING_ENABLE:
        m_mapping = MappingJob{};
        m_mapping.value = u8(g_send_para.arg.load() & 0xFF);
        break;
    default:
        m_recovery = RecoveryJob{};
        if (job == JOB_CHECK_CARDS)
            set_result(QStringList());   // the check screen empties its list when it posts the job
        break;
    }
    report(0);
}

void fpga_manage::drop_job()
{
    m_run.code = 0;
    m_scan.data.clear();
}

bool fpga_manage::job_step()
{
    switch (m_run.code) {
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
    if (value == m_run.last_progress)
        return;
    m_run.last_progress = value;
    emit sig_job_progress(m_run.code, value);
}

// Progress by the time since the stage began, 500 ticks to the end; never back.
void fpga_manage::report_elapsed()
{
    report(qMax(m_run.last_progress, int(100 * quint64(Utils::getTimeSpace(m_run.stamp)) / 500)));
}

// The job word goes back to 0 before the final 100.
void fpga_manage::finish_job()
{
    const u8 job = m_run.code;
    drop_job();
    g_send_para.clear();
    emit sig_job_progress(job, 100);
}

void fpga_manage::begin_end_wait(int progress)
{
    report(progress);
    m_run.stamp = ticks();
}

bool fpga_manage::end_wait()
{
    if (Utils::getTimeSpace(m_run.stamp) >= END_WAIT_TICKS)
        finish_job();
    return false;
}

// Runs the job's steps while the job is one of `jobs` and nothing has to be waited for.
void fpga_manage::run_stage(bool (fpga_manage::*step)(), std::initializer_list<u8> jobs)
{
    while (std::find(jobs.begin(), jobs.end(), m_run.code) != jobs.end() && (this->*step)()) {
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

// ---------------------------------------------------------------- the exchange with the cards

bool fpga_manage::exchange_started(int port, bool sent)
{
    if (sent) {
        m_ex.port = port;
        m_ex.stamp = ticks();
    }
    return sent;
}

fpga_manage::Poll fpga_manage::poll_exchange()
{
    if (m_cmd->poll(m_ex.port, ticks(), &m_ex.status, &m_ex.extra))
        return Poll::Replied;
    if (Utils::getTimeSpace(m_ex.stamp) >= CARD_REPLY_TICKS)
        return Poll::TimedOut;
    return Poll::Pending;
}

bool fpga_manage::start_search(int port)
{
    return exchange_started(port, m_cmd->search(port, ticks()));
}

// The card count of the search in flight (0 without a reply); false while
// it is pending.
bool fpga_manage::search_done(int *count)
{
    const Poll r = poll_exchange();
    if (r == Poll::Pending)
        return false;
    if (r != Poll::Replied || m_ex.status != 0 || m_ex.extra.size() < 2)
        *count = 0;
    else
        *count = qMin(int(u8(m_ex.extra[0]) | u8(m_ex.extra[1]) << 8), int(rcv_frame::CARD_SEARCH) - 1);
    return true;
}

// First step of the jobs on the line's port: its search. The job ends
// (false) when it has nothing to do (`usable` false) or the search cannot go.
bool fpga_manage::search_line_port(bool usable, int port)
{
    if (usable && port <= 23 && start_search(port))
        return true;
    finish_job();
    return false;
}

// Second step of the jobs on the line's port: true once the search found
// cards; the job ends when none answered. False while the search is pending.
bool fpga_manage::line_cards(int *count)
{
    if (!search_done(count))
        return false;
    if (*count == 0) {
        finish_job();
        return false;
    }
    return true;
}

// Search of the next port of the jobs over all 24 ports; past the last one
// the wait before the final 100 begins at `end` percent.
fpga_manage::PortSearch fpga_manage::search_next_port(int port, int end)
{
    if (port >= 24) {
        begin_end_wait(end);
        return PortSearch::AllDone;
    }
    report(port * end / 24);
    return start_search(port) ? PortSearch::Sent : PortSearch::NotSent;
}

template <class Step> bool fpga_manage::step_port_loop(int *port, Step *step, Step searching, Step ending, int end)
{
    switch (search_next_port(*port, end)) {
    case PortSearch::AllDone: *step = ending; break;
    case PortSearch::Sent: *step = searching; break;
    case PortSearch::NotSent: ++*port; break;
    }
    return true;
}

// ---------------------------------------------------------------- job 1

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
    return rcvcard_x_y(m_smart.line, index, x, y);
}

bool fpga_manage::step_smart_mapping()
{
    SmartMappingJob &j = m_smart;
    switch (j.step) {
    case SmartMappingStep::Search:
        if (!search_line_port(placeable(j.line), j.line.output_port))
            return false;
        j.step = SmartMappingStep::Count;
        return true;
    case SmartMappingStep::Count:
        if (!line_cards(&j.count))
            return false;
        j.card = 0;
        j.step = SmartMappingStep::Place;
        return true;
    case SmartMappingStep::Place: {
        if (j.card >= j.count) {
            begin_end_wait(90);
            j.step = SmartMappingStep::EndWait;
            return true;
        }
        report(j.card * 90 / j.count);
        u16 x, y;
        if (!rcvcard_x_y(j.line, j.card, &x, &y)) {
            ++j.card;   // past rows x columns: no place for it
            return true;
        }
        const u16 px = u16(j.line.horizontal_offset + x), py = u16(j.line.vertical_offset + y);
        QByteArray pos;
        pos.append(char(px & 0xFF));
        pos.append(char(px >> 8));
        pos.append(char(py & 0xFF));
        pos.append(char(py >> 8));
        const int port = j.line.output_port;
        const bool sent = m_cmd->write_ram(port, u16(j.card), rcv_card::POSITION_ADDR, pos, ticks());
        return wait_or_skip(exchange_started(port, sent), &j.card, &j.step, SmartMappingStep::Reply);
    }
    case SmartMappingStep::Reply:
        return after_reply(&j.card, &j.step, SmartMappingStep::Place);
    case SmartMappingStep::EndWait:
        return end_wait();
    }
    return false;
}

// ---------------------------------------------------------------- jobs 3 and 4

bool fpga_manage::step_save_para()
{
    SaveParaJob &j = m_save;
    switch (j.step) {
    case SaveParaStep::Search:
        return step_port_loop(&j.port, &j.step, SaveParaStep::Count, SaveParaStep::EndWait, 95);
    case SaveParaStep::Count:
        if (!search_done(&j.count))
            return false;
        j.card = 0;
        j.step = SaveParaStep::Save;
        return true;
    case SaveParaStep::Save:
        if (j.card >= j.count) {
            ++j.port;
            j.step = SaveParaStep::Search;
            return true;
        }
        report((j.port * j.count + j.card) * 95 / (24 * j.count));
        return wait_or_skip(exchange_started(j.port, m_cmd->save_parameters(j.port, u16(j.card), ticks())), &j.card,
                            &j.step, SaveParaStep::Reply);
    case SaveParaStep::Reply:
        return after_reply(&j.card, &j.step, SaveParaStep::Save);
    case SaveParaStep::EndWait:
        return end_wait();
    }
    return false;
}

bool fpga_manage::step_mapping_enable()
{
    MappingJob &j = m_mapping;
    switch (j.step) {
    case MappingStep::Search:
        return step_port_loop(&j.port, &j.step, MappingStep::Write, MappingStep::EndWait, 95);
    case MappingStep::Write: {
        int count;
        if (!search_done(&count))
            return false;
        const bool sent =
            count != 0
            && exchange_started(j.port, m_cmd->write_register(j.port, rcv_frame::CARD_ALL, rcv_card::REG_MAPPING,
                                                               j.value, ticks()));
        if (!sent) {
            ++j.port;
            j.step = MappingStep::Search;
            return true;
        }
        j.step = MappingStep::Reply;
        return true;
    }
    case MappingStep::Reply:
        return after_reply(&j.port, &j.step, MappingStep::Search);
    case MappingStep::EndWait:
        return end_wait();
    }
    return false;
}
