#include <QtTest>
#include <sys/stat.h>
#include <thread>

#include "core/global.h"
#include "core/sim_config.h"
#include "core/utils.h"
#include "tests/support/testenv.h"

class TestUtils : public QObject
{
    Q_OBJECT
private slots:
    void checksumAndPaths()
    {
        const u8 frame[] = {0x01, 0xFF, 0x10, 0x10, 0x80};
        QCOMPARE(std::make_pair(int(Utils::BCC(frame, 5)), int(Utils::BCC(frame, 0))), std::make_pair(0x01 ^ 0xFF ^ 0x80, 0));
        {
            TestRoot root;
            QCOMPARE(Utils::devicePath("/mnt/usb1/"), root.path() + "/mnt/usb1/");
        }
        QCOMPARE(Utils::devicePath("/etc/udhcpd.conf"), QString("/etc/udhcpd.conf"));
        QVERIFY(Utils::isIPv4("0.0.0.0") && Utils::isIPv4("255.255.255.255"));
        for (const char *b : {"256.1.1.1", "1.1.1", "1.1.1.1.1", "a.b.c.d", "1..1.1", " 1.1.1.1", "1.1.1.1;ls", ""})
            QVERIFY2(!Utils::isIPv4(b), b);
    }

    void commandsAreRecordedNeverRun()
    {
        TestRoot root;
        const QString marker = root.path() + "/ran";
        int status = -1;
        Utils::system_mutex("touch " + marker, &status);
        Utils::system_mutex("reboot", nullptr);
        QVERIFY(status == 0 && !QFile::exists(marker));
        QCOMPARE(Utils::recordedCommands(), QStringList({"touch " + marker, "reboot"}));
        QVERIFY(root.read("/commands.log").contains("reboot"));
    }

    void interruptedSavesRemovedAtStart()
    {
        TestRoot root;
        const QStringList leftovers = {"/data/ram_device_info.AbCdEf", "/data/modes/MO0a.json.QwErTy",
                                       "/data/app/main.QELZK.Ab12Cd", "/data/configs/tcpip.ini.lock"};
        const QStringList kept = {"/data/ram_device_info", "/data/ram_device_info.AbCdEfG", "/data/modes/notes.AbCdEf",
                                  "/data/configs/alias.json.AbCdEf", "/data/usr.AbCdEf"};
        for (const QString &f : leftovers + kept)
            root.write(f, "x");
        QDir().mkpath(root.file("/data/modes/custom_mode3.AbCdEf"));   // a folder is no leftover
        QVERIFY(QFile::link(root.file("/data/ram_device_info"), root.file("/data/ram_device_info.LnKaBc")));

        QCOMPARE(Utils::removeAtomicLeftovers(), leftovers.size());
        for (const QString &f : leftovers)
            QVERIFY2(!root.exists(f), qPrintable(f));
        for (const QString &f : kept + QStringList{"/data/modes/custom_mode3.AbCdEf", "/data/ram_device_info.LnKaBc"})
            QVERIFY2(root.exists(f), qPrintable(f));
    }

    void folderFlushedAfterRename()
    {
        TestRoot root;
        QVERIFY(Utils::writeFileAtomic("/data/p.bin", "old"));
        QStringList seen;
        Utils::SaveStep failAt = Utils::SaveStep(-1);
        Utils::setSaveHook([&](Utils::SaveStep step, const QString &path) {
            // what the disk shows at each step
            seen << QStringLiteral("%1:%2:%3").arg(int(step)).arg(QString::fromLatin1(root.read("/data/p.bin")))
                        .arg(path == root.file("/data/p.bin"));
            return step != failAt;
        });
        QVERIFY(Utils::writeFileAtomic("/data/p.bin", "new"));   // the folder flushed after the replace
        QCOMPARE(seen, QStringList({"0:old:1", "1:new:1"}));

        failAt = Utils::SaveStep::FolderSync;   // renamed, but the rename may not survive a power cut
        QVERIFY(!Utils::writeFileAtomic("/data/p.bin", "newer"));
        QCOMPARE(root.read("/data/p.bin"), QByteArray("newer"));

        failAt = Utils::SaveStep::Rename;
        QVERIFY(!Utils::writeFileAtomic("/data/p.bin", "lost"));
        Utils::setSaveHook(nullptr);
        QCOMPARE(root.read("/data/p.bin"), QByteArray("newer"));
        QCOMPARE(QDir(root.file("/data")).entryList(QDir::Files | QDir::Hidden), QStringList({"p.bin"}));
        QVERIFY(!Utils::syncFolder(root.file("/data/none")));

        // a link planted at the name is replaced, its target left alone
        root.write("/elsewhere", "theirs");
        QVERIFY(QFile::remove(root.file("/data/p.bin")) && QFile::link(root.file("/elsewhere"), root.file("/data/p.bin")));
        QVERIFY(Utils::writeFileAtomic("/data/p.bin", "ours"));
        QVERIFY(!QFileInfo(root.file("/data/p.bin")).isSymLink());
        QCOMPARE(root.read("/elsewhere") + root.read("/data/p.bin"), QByteArray("theirsours"));
    }

    // Only a regular file, links followed, and never past its limit.
    void boundedRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("bytes");   // written ("file", "sparse") or the limit's excess
        QTest::addColumn<int>("status");
        using S = Utils::ReadStatus;
        QTest::newRow("empty") << "file" << qint64(0) << int(S::Read);
        QTest::newRow("at the limit") << "file" << qint64(100) << int(S::Read);
        QTest::newRow("one byte over") << "file" << qint64(101) << int(S::TooLarge);
        QTest::newRow("sparse 1 GiB") << "sparse" << (qint64(1) << 30) << int(S::TooLarge);
        QTest::newRow("link to a file") << "link to a file" << qint64(50) << int(S::Read);
        QTest::newRow("link to a device") << "link to a device" << qint64(0) << int(S::NotRegular);
        QTest::newRow("pipe without writer") << "fifo" << qint64(0) << int(S::NotRegular);
        QTest::newRow("folder") << "folder" << qint64(0) << int(S::NotRegular);
        QTest::newRow("missing") << "missing" << qint64(0) << int(S::Missing);
        QTest::newRow("dangling link") << "dangling" << qint64(0) << int(S::Missing);
    }
    void boundedRead()
    {
        QFETCH(QString, kind);
        QFETCH(qint64, bytes);
        QFETCH(int, status);
        TestRoot root;
        const QString f = root.file("/data/f");
        if (kind == "file" || kind == "link to a file")
            root.write(kind == "file" ? "/data/f" : "/data/g", QByteArray(int(bytes), 'x'));
        QFile sparse(f);
        if (kind == "sparse")
            QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(bytes));
        if (kind.startsWith("link") || kind == "dangling")
            QVERIFY(QFile::link(kind == "link to a device" ? "/dev/zero" : root.file("/data/g"), f));
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(f).constData(), 0600), 0);
        if (kind == "folder")
            QVERIFY(QDir().mkpath(f));
        Utils::ReadStatus got = Utils::ReadStatus::Unreadable;
        const QByteArray data = Utils::readFile("/data/f", 100, &got);
        QCOMPARE(int(got), status);
        QCOMPARE(data.size(), status == int(Utils::ReadStatus::Read) ? int(bytes) : 0);
    }

    // A file whose measured size is not what it holds is read by what it holds.
    void boundedReadOfAFileMeasuredShort()
    {
        Utils::ReadStatus got;
        const QByteArray whole = Utils::readHostFile("/proc/self/status", 64 * 1024, &got);
        QVERIFY(got == Utils::ReadStatus::Read && whole.contains("Pid:"));
        QVERIFY(Utils::readHostFile("/proc/self/status", 10, &got).isEmpty() && got == Utils::ReadStatus::TooLarge);
    }

    void simulatedDevice()
    {
        TestRoot root;
        QVERIFY(!SimConfig::load().loaded);
        root.writeSim("{\"inputs\":[{\"slot\":2,\"width\":1920,\"height\":1080,\"rate\":60},{\"slot\":9}],"
                      "\"fpgas\":[{\"state\":3,\"version\":[1,6,11,26]}],\"cards\":{\"3\":4,\"30\":1},\"fonts\":31}");
        const SimConfig s = SimConfig::load();
        QVERIFY(s.loaded);
        // the slot without a signal and out-of-range entries are dropped
        QCOMPARE(std::make_tuple(s.inputs.size(), s.fpgas[1].state, s.cards[2], s.fonts), std::make_tuple(1, 0, 4, 15));
        root.writeSim(R"({"settle_ms": 90000})");   // shortens, never lengthens
        QCOMPARE(SimConfig::load().settleMs, 4000);
        for (const QByteArray &bad : {QByteArray("{ broken"), QByteArray(100000, '[') + QByteArray(100000, ']')}) {
            root.writeSim(bad);
            QVERIFY(!SimConfig::load().loaded);
            QCOMPARE(SimConfig::load().settleMs, 4000);
        }
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
