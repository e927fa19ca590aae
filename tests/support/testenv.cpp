#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/global.h"
#include "core/utils.h"

TestRoot::TestRoot()
{
    qputenv("QEL_ROOT", m_dir.path().toLocal8Bit());
    QDir(m_dir.path()).mkpath(QStringLiteral("data/modes"));
    QDir(m_dir.path()).mkpath(QStringLiteral("data/configs"));
    QDir(m_dir.path()).mkpath(QStringLiteral("mnt"));
    TestEnv::resetGlobals();
    Utils::clearRecordedCommands();
}

TestRoot::~TestRoot()
{
    qunsetenv("QEL_ROOT");
}

QString TestRoot::path() const { return m_dir.path(); }

QString TestRoot::file(const QString &devicePath) const { return Utils::devicePath(devicePath); }

void TestRoot::write(const QString &devicePath, const QByteArray &data) const
{
    const QString p = file(devicePath);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
}

QByteArray TestRoot::read(const QString &devicePath) const
{
    QFile f(file(devicePath));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TestRoot::exists(const QString &devicePath) const { return QFileInfo::exists(file(devicePath)); }

namespace TestEnv {

void resetGlobals()
{
    G_timeTicks = 0;
    G_factoryage_ticks = 0;
    g_language = 1;
    g_lcd_lang_valid = 0x1F;
    g_back_to_mainwindow_time = 18000;
    g_auto_lock_time = 30000;
    g_debugSwitch = 0;   // quiet tests
    for (u8 &b : g_cut_source_state)
        b = 0;
    g_str_ip = QStringLiteral("192.168.0.199");
    g_srt_mask = QStringLiteral("255.255.255.0");
    g_str_gateway = QStringLiteral("192.168.0.1");
    g_str_barcode = QStringLiteral(" ");
    g_usb_grade_path = QStringLiteral(" ");
    g_send_para.clear();
    g_send_para.arg = 0;
    g_send_para.screen_index = 0;
    g_send_para.sub_step = 0;
    g_send_para.recovery_counter = 0;
    g_usb_grade = 0;
    g_update_flag = 0;
    g_set_led_para = 0;
    g_set_led_setup = 0;
    {
        std::lock_guard<std::mutex> lock(g_line_type_mutex);
        line_type = LINE_TYPE{0, 0, 0, 0, 0, 0, 0, 0};
        g_qlfile_name.clear();
    }
    g_wifi_reset_flag = 0;
    g_wifi_reset_ticks = 0;
    factoryage_log.clear();
    factoryage_log_diff3 = factoryage_log_diff5 = factoryage_log_diff10 = 0;
    factoryage_log_diff20 = factoryage_log_diffmore = 0;
    factoryage_log2_diff3 = factoryage_log2_diff5 = factoryage_log2_diff10 = 0;
    factoryage_log2_diff20 = factoryage_log2_diffmore = 0;
    g_page_focus = 0;
    g_mode_select = 0;
}

void advanceTicks(unsigned n) { G_timeTicks.fetch_add(n); }

}
