#include <QtTest>
#include <atomic>
#include <thread>

#include "core/global.h"
#include "core/manager_thread.h"
#include "core/sim_config.h"
#include "core/utils.h"
#include "tests/support/testenv.h"

class TestUtils : public QObject
{
    Q_OBJECT
private slots:
    void ticksAcrossWrap()
    {
        TestRoot root;
        G_timeTicks = 0xFFFFFFF0u;
        const u32 stamp = G_timeTicks;
        TestEnv::advanceTicks(0x20);
        QCOMPARE(Utils::getTimeSpace(stamp), u32(0x20));
        G_timeTicks = 0;
    }

    void checksum()
    {
        const u8 frame[] = {0x01, 0xFF, 0x10, 0x10, 0x80};
        QCOMPARE(int(Utils::BCC(frame, 5)), 0x01 ^ 0xFF ^ 0x80);
        QCOMPARE(int(Utils::BCC(frame, 0)), 0);
    }

    void pathsGoBelowTheRoot()
    {
        {
            TestRoot root;
            QCOMPARE(Utils::devicePath("/data/ram_device_info"), root.path() + "/data/ram_device_info");
            QCOMPARE(Utils::devicePath("/mnt/usb1/"), root.path() + "/mnt/usb1/");
        }
        QCOMPARE(Utils::devicePath("/etc/udhcpd.conf"), QString("/etc/udhcpd.conf"));
    }

    void commandsAreRecordedNeverRun()
    {
        TestRoot root;
        const QString marker = root.path() + "/ran";
        int status = -1;
        Utils::system_mutex("touch " + marker, &status);
        Utils::system_mutex("reboot", nullptr);
        QCOMPARE(status, 0);
        QVERIFY(!QFile::exists(marker));
        QCOMPARE(Utils::recordedCommands(), QStringList({"touch " + marker, "reboot"}));
        QVERIFY(root.read("/commands.log").contains("reboot"));
    }

    void atomicWriteReplacesWhole()
    {
        TestRoot root;
        QVERIFY(Utils::writeFileAtomic("/data/x/y.bin", "first"));
        QVERIFY(Utils::writeFileAtomic("/data/x/y.bin", "second"));
        QCOMPARE(root.read("/data/x/y.bin"), QByteArray("second"));
        QCOMPARE(QDir(root.file("/data/x")).entryList(QDir::Files | QDir::Hidden).size(), 1);
        bool ok = true;
        Utils::readFile("/data/none", &ok);
        QVERIFY(!ok);
    }

    void addresses()
    {
        QVERIFY(Utils::isIPv4("0.0.0.0"));
        QVERIFY(Utils::isIPv4("255.255.255.255"));
        const char *bad[] = {"256.1.1.1", "1.1.1", "1.1.1.1.1", "a.b.c.d", "1..1.1", " 1.1.1.1", "1.1.1.1;ls", "1234.1.1.1", ""};
        for (const char *b : bad)
            QVERIFY2(!Utils::isIPv4(b), b);
    }

    void simulatedDevice()
    {
        TestRoot root;
        QVERIFY(!SimConfig::load().loaded);
        root.writeSim("{\"inputs\":[{\"slot\":2,\"width\":1920,\"height\":1080,\"rate\":60},{\"slot\":9}],"
                      "\"fpgas\":[{\"state\":3,\"version\":[1,6,11,26]}],\"cards\":{\"3\":4,\"30\":1},\"fonts\":31}");
        const SimConfig s = SimConfig::load();
        QVERIFY(s.loaded);
        QCOMPARE(s.inputs.size(), 1);
        QCOMPARE(s.fpgas[0].state, 3);
        QCOMPARE(s.fpgas[1].state, 0);
        QCOMPARE(s.cards[2], 4);
        QCOMPARE(s.fonts, 15);
        root.writeSim("{ broken");
        QVERIFY(!SimConfig::load().loaded);
    }

    void managerThreadRunsAndStops()
    {
        std::atomic<int> turns{0};
        ManagerThread t;
        t.start([&] { turns.fetch_add(1); }, 1);
        QTRY_VERIFY(turns.load() > 3);
        t.wake();
        t.stop();
        const int after = turns.load();
        QTest::qWait(20);
        QCOMPARE(turns.load(), after);
        QVERIFY(!t.running());
    }

    void sharedTextAcrossThreads()
    {
        std::thread writer([] {
            for (int i = 0; i < 2000; ++i)
                g_str_ip = QString("10.0.0.%1").arg(i % 250);
        });
        for (int i = 0; i < 2000; ++i) {
            const QString seen = g_str_ip;
            QVERIFY(seen.startsWith("10.0.0.") || seen.startsWith("192."));
        }
        writer.join();
    }
};

QTEST_GUILESS_MAIN(TestUtils)
#include "test_utils.moc"
