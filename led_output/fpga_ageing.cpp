#include <QDateTime>

#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"

// The factory ageing sample, taken on the GUI thread's tick.

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
