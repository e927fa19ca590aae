#include <QtTest>

#include <mutex>

#include "core/global.h"
#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "remote/r58_wifi_config.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"

namespace {

QString quoted(const char *path) { return '\'' + Utils::devicePath(QString::fromLatin1(path)) + '\''; }
QStringList startCommands() { return {"hostapd -B " + quoted("/etc/rtl_hostapd_2G.conf"), "udhcpd " + quoted("/etc/udhcpd.conf")}; }
QStringList stopCommands() { return {"kill $(pidof hostapd) 2>/dev/null", "kill $(pidof udhcpd) 2>/dev/null"}; }

}

class TestWifiConfig : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        R58_WIFI_CONFIG::destroyInstance();
        QVERIFY(!R58_WIFI_CONFIG::p_wifi);
        QelRamPara::destroyInstance();
    }

    // Commands are only recorded, never run: that is Utils' own test.
    void startupRestartAndOff()
    {
        TestRoot root;
        R58_WIFI_CONFIG *wifi = R58_WIFI_CONFIG::pInstance();
        QCOMPARE(R58_WIFI_CONFIG::p_wifi, wifi);
        wifi->pass();   // no parameter store yet: nothing done
        QVERIFY(Utils::recordedCommands().isEmpty());
        QelRamPara::pInstance();   // factory table: access point on
        wifi->pass();   // start-up, once
        wifi->pass();
        TestEnv::advanceTicks(77);
        R58_WIFI_CONFIG::set_wifi_reset_flag();
        QCOMPARE(std::make_pair(int(g_wifi_reset_flag), g_wifi_reset_ticks.load()), std::make_pair(1, 77u));
        wifi->pass();
        QCOMPARE(Utils::recordedCommands(), startCommands() + stopCommands() + startCommands());
        QCOMPARE(int(g_wifi_reset_flag), 0);
        // switched off: stopped, not started again; off at start: nothing started
        Utils::clearRecordedCommands();
        {
            std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
            QelRamPara::p_qelrampara_config->ram_para[Img::WIFI_OFF] = 1;
        }
        R58_WIFI_CONFIG::set_wifi_reset_flag();
        wifi->pass();
        wifi->pass();
        QCOMPARE(Utils::recordedCommands(), stopCommands());
        QCOMPARE(int(g_wifi_reset_flag), 0);
        R58_WIFI_CONFIG::destroyInstance();
        Utils::clearRecordedCommands();
        R58_WIFI_CONFIG::pInstance()->pass();
        QVERIFY(Utils::recordedCommands().isEmpty());

        // on its own thread, access point back on: watched through the command log file
        R58_WIFI_CONFIG::destroyInstance();
        {
            std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
            QelRamPara::p_qelrampara_config->ram_para[Img::WIFI_OFF] = 0;
        }
        QVERIFY(QFile::remove(root.file(QStringLiteral("/commands.log"))));
        wifi = R58_WIFI_CONFIG::pInstance();
        wifi->start();
        QTRY_VERIFY_WITH_TIMEOUT(root.read(QStringLiteral("/commands.log")).contains("udhcpd"), 5000);
        R58_WIFI_CONFIG::set_wifi_reset_flag();
        QTRY_COMPARE_WITH_TIMEOUT(int(g_wifi_reset_flag), 0, 5000);
        wifi->stop();
        wifi->stop();
        QCOMPARE(Utils::recordedCommands(), startCommands() + stopCommands() + startCommands());
    }
};

QTEST_GUILESS_MAIN(TestWifiConfig)
#include "test_r58_wifi_config.moc"
