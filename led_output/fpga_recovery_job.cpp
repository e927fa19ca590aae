#include "core/logmsg.h"
#include "core/refresh_codes.h"
#include "led_output/fpga_manage.h"
#include "led_output/locked_copy.h"
#include "led_output/rcv_cmd.h"
#include "led_output/rcv_recovery_file.h"

// Jobs 5 (check the receiving cards) and 6 (self-recovery), and the result
// list they hand to the GUI thread.

bool fpga_manage::step_recovery()
{
    RecoveryJob &j = m_recovery;
    switch (j.step) {
    case RecoveryStep::Start:
        if (!m_cmd->port_ready(0) || !m_cmd->port_ready(12)) {
            g_send_para.sub_step = 0;
            finish_job();
            m_refresh_pending = true;   // refresh code 1 follows 100 ticks later
            m_refresh_stamp = ticks();
            return false;
        }
        j.step = m_run.code == JOB_SELF_RECOVERY ? RecoveryStep::Restore : RecoveryStep::ListScreens;
        return true;
    case RecoveryStep::Restore:
        j.step = restore_found_card() ? RecoveryStep::RestoreReply : RecoveryStep::ListScreens;
        return true;
    case RecoveryStep::RestoreReply:
        report_elapsed();
        if (poll_exchange() == Poll::Pending)
            return false;
        g_send_para.sub_step = 0;
        j.step = RecoveryStep::ListScreens;
        return true;
    case RecoveryStep::ListScreens:
        rcv_recovery->get_dir_file(QLatin1String(rcvRecovery::RECOVERY_DIR));
        j.screens = rcv_recovery->recovery_files();
        j.screen = 0;
        j.found = false;
        m_run.stamp = ticks();
        j.step = RecoveryStep::OpenScreen;
        return true;
    case RecoveryStep::OpenScreen:
        // the screen index travels in one byte
        if (j.screen >= j.screens.size() || j.screen > 255) {
            end_recovery();
            return false;
        }
        if (open_screen(j))
            j.step = RecoveryStep::NextSection;
        else
            ++j.screen;
        return true;
    case RecoveryStep::NextSection:
        report_elapsed();
        if (j.section >= j.sections.size()) {
            ++j.screen;
            j.step = RecoveryStep::OpenScreen;
            return true;
        }
        return wait_or_skip(start_search(j.sections.at(j.section).port), &j.section, &j.step, RecoveryStep::Count);
    case RecoveryStep::Count:
        if (!search_done(&j.count))
            return false;
        j.card = 0;
        j.step = RecoveryStep::NextCard;
        return true;
    case RecoveryStep::NextCard: {
        report_elapsed();
        if (j.card >= j.count) {
            ++j.section;
            j.step = RecoveryStep::NextSection;
            return true;
        }
        // 255 stands for "no card" in the recovery counter
        const int port = j.sections.at(j.section).port;
        const bool sent = j.card != 255 && exchange_started(port, m_cmd->read_recovery(port, u16(j.card), ticks()));
        return wait_or_skip(sent, &j.card, &j.step, RecoveryStep::CardReply);
    }
    case RecoveryStep::CardReply:
        return card_replied(j);
    }
    return false;
}

// Job 6's first stage: the stored parameters of the card the last check
// found go into that card. True when they were sent (wait for the reply).
bool fpga_manage::restore_found_card()
{
    const u16 counter = g_send_para.recovery_counter.load();
    if (counter == 255 || counter == NO_RECOVERY)
        return false;
    g_send_para.sub_step = SUB_STEP_READ;
    // the file the check found, by name: the list may have changed since
    QVector<rcvRecovery::Section> sections;
    QByteArray para;
    const int port = rcv_recovery->port_index();
    if (rcv_recovery->read_file(rcv_recovery->found_file(), &sections)) {
        // the first section of the port, the one the check read
        for (const rcvRecovery::Section &s : sections)
            if (s.port == port) {
                para = rcvRecovery::block(s, counter);
                break;
            }
    }
    if (para.isEmpty() || !exchange_started(port, m_cmd->write_recovery(port, counter, para, ticks()))) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("no recovery data for LED%1 card %2").arg(port + 1).arg(counter + 1));
        g_send_para.sub_step = 0;
        return false;
    }
    g_send_para.sub_step = SUB_STEP_WRITTEN;
    return true;
}

// The sections of the screen in hand; false when its file is unusable.
bool fpga_manage::open_screen(RecoveryJob &j)
{
    QVector<rcvRecovery::Section> sections;
    j.sections.clear();
    if (!rcv_recovery->read_file(j.screens.at(j.screen), &sections))
        return false;
    for (const rcvRecovery::Section &s : sections)
        j.sections.append({s.port, s.card_count});
    j.section = 0;
    return true;
}

// The card's answer: a card asking for recovery ends the run; any other
// answer, or none, moves on to the next card.
bool fpga_manage::card_replied(RecoveryJob &j)
{
    const Poll r = poll_exchange();
    if (r == Poll::Pending)
        return false;
    if (r == Poll::Replied && m_ex.status == 0 && !m_ex.extra.isEmpty() && m_ex.extra.at(0) == 1) {
        const RecoveryJob::Section &s = j.sections.at(j.section);
        g_send_para.recovery_counter = u16(j.card);
        g_send_para.screen_index = u8(j.screen);
        rcv_recovery->set_found(j.screens.at(j.screen), u8(s.port), u16(s.card_count));
        j.found = true;
        end_recovery();
        return false;
    }
    ++j.card;
    j.step = RecoveryStep::NextCard;
    return true;
}

// The result goes to the GUI thread before the refresh code that announces
// it, then the job ends.
void fpga_manage::end_recovery()
{
    if (!m_recovery.found)
        g_send_para.recovery_counter = NO_RECOVERY;
    const u16 counter = g_send_para.recovery_counter.load();
    if (counter != 255 && counter != NO_RECOVERY) {
        const QString entry = QString::asprintf("%02d/%02d/%02d/%02d", g_send_para.screen_index.load() + 1,
                                                rcv_recovery->port_index() + 1, counter + 1,
                                                int(rcv_recovery->card_count()));
        const QStringList entries{entry};
        set_result(entries);
        emit sig_recovery_result(entries, 1);
        refresh(REFRESH_SAVE);
    } else if (m_run.code == JOB_SELF_RECOVERY && set_result(QStringList())) {
        emit sig_recovery_result(QStringList(), 0);
        refresh(REFRESH_RECOVERY_EMPTY);
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
