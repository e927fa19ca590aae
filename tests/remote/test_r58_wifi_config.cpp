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

QString quotedDevice(const char *path) { return QLatin1Char('\'') + Utils::devicePath(QString::fromLatin1(path)) + QLatin1Char('\''); }

QStringList startCommands()
{
    return {QStringLiteral("hostapd -B ") + quotedDevice("/etc/rtl_hostapd_2G.conf"),
            QStringLiteral("udhcpd ") + quotedDevice("/etc/udhcpd.conf")};
}

QStringList stopCommands()
{
    return {QStringLiteral("kill $(pidof hostapd) 2>/dev/null"), QStringLiteral("kill $(pidof udhcpd) 2>/dev/null")};
}

void setWifiOff(u8 off)
{
    std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
    QelRamPara::p_qelrampara_config->ram_para[Img::WIFI_OFF] = off;
}

}

class TestWifiConfig : public QObject
{
    Q_OBJECT
private slots:
    void startupAndRestart()
    {
        TestRoot root;
        QelRamPara::pInstance();   // factory table: access point on
        R58_WIFI_CONFIG *wifi = R58_WIFI_CONFIG::pInstance();
        QCOMPARE(R58_WIFI_CONFIG::p_wifi, wifi);

        wifi->pass();   // start-up
        QCOMPARE(Utils::recordedCommands(), startCommands());
        wifi->pass();
        QCOMPARE(Utils::recordedCommands().size(), 2);

        Utils::clearRecordedCommands();
        TestEnv::advanceTicks(77);
        R58_WIFI_CONFIG::set_wifi_reset_flag();
        QCOMPARE(int(g_wifi_reset_flag), 1);
        QCOMPARE(g_wifi_reset_ticks.load(), 77u);
        wifi->pass();
        QCOMPARE(Utils::recordedCommands(), stopCommands() + startCommands());
        QCOMPARE(int(g_wifi_reset_flag), 0);

        // switched off: stopped, not started again
        Utils::clearRecordedCommands();
        setWifiOff(1);
        R58_WIFI_CONFIG::set_wifi_reset_flag();
        wifi->pass();
        QCOMPARE(Utils::recordedCommands(), stopCommands());
        QCOMPARE(int(g_wifi_reset_flag), 0);
        wifi->pass();
        QCOMPARE(Utils::recordedCommands(), stopCommands());

        R58_WIFI_CONFIG::destroyInstance();
        QVERIFY(!R58_WIFI_CONFIG::p_wifi);
        QelRamPara::destroyInstance();
    }

    void startupOffOrWaiting()
    {
        TestRoot root;
        R58_WIFI_CONFIG *wifi = R58_WIFI_CONFIG::pInstance();
        wifi->pass();   // no parameter store yet: nothing done
        QVERIFY(Utils::recordedCommands().isEmpty());
        QelRamPara::pInstance();
        setWifiOff(1);
        wifi->pass();   // off at start: nothing started
        wifi->pass();
        QVERIFY(Utils::recordedCommands().isEmpty());
        R58_WIFI_CONFIG::destroyInstance();
        QelRamPara::destroyInstance();
    }

    // A whole restart leaves no trace but the record: stand-in programs
    // placed first on PATH would leave a mark if anything ran them.
    void restartOnlyRecorded()
    {
        TestRoot root;
        const QString bin = root.path() + QStringLiteral("/fakebin");
        const QString mark = root.path() + QStringLiteral("/executed");
        QDir().mkpath(bin);
        for (const char *name : {"hostapd", "udhcpd", "pidof", "kill", "sh"}) {
            QFile f(bin + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\necho \"$0 $*\" >> '" + mark.toLocal8Bit() + "'\n");
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", bin.toLocal8Bit() + ':' + oldPath);

        QelRamPara::pInstance();
        R58_WIFI_CONFIG *wifi = R58_WIFI_CONFIG::pInstance();
        wifi->pass();
        R58_WIFI_CONFIG::set_wifi_reset_flag();
        wifi->pass();
        setWifiOff(1);
        R58_WIFI_CONFIG::set_wifi_reset_flag();
        wifi->pass();
        qputenv("PATH", oldPath);

        const QStringList expected = startCommands() + stopCommands() + startCommands() + stopCommands();
        QCOMPARE(Utils::recordedCommands(), expected);
        QVERIFY(!QFileInfo::exists(mark));
        // the record under the root carries the same commands
        const QString log = QString::fromUtf8(root.read(QStringLiteral("/commands.log")));
        for (const QString &cmd : expected)
            QVERIFY2(log.contains(cmd), qPrintable(cmd));

        R58_WIFI_CONFIG::destroyInstance();
        QelRamPara::destroyInstance();
    }

    void threadedStartStop()
    {
        TestRoot root;
        QelRamPara::pInstance();
        R58_WIFI_CONFIG *wifi = R58_WIFI_CONFIG::pInstance();
        wifi->start();
        // watched through the command log file while the thread runs; the
        // in-memory record is read once the thread is joined
        QTRY_VERIFY_WITH_TIMEOUT(root.read(QStringLiteral("/commands.log")).contains("udhcpd"), 5000);
        R58_WIFI_CONFIG::set_wifi_reset_flag();
        QTRY_COMPARE_WITH_TIMEOUT(int(g_wifi_reset_flag), 0, 5000);
        wifi->stop();
        wifi->stop();
        QCOMPARE(Utils::recordedCommands(), startCommands() + stopCommands() + startCommands());
        R58_WIFI_CONFIG::destroyInstance();
        QelRamPara::destroyInstance();
    }
};

QTEST_GUILESS_MAIN(TestWifiConfig)
#include "test_r58_wifi_config.moc"
