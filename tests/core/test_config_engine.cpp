#include <QSettings>
#include <QtTest>
#include <sys/resource.h>

#include "core/config_engine.h"
#include "core/global.h"
#include "core/utils.h"
#include "tests/support/testenv.h"

class TestConfigEngine : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { ConfigEngine::destroyInstance(); }

    // no file, bad values or a broken file: the defaults stay
    void loadsTheStoredSettings_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("loaded");   // address|mask|gateway|barcode|upgrade folder
        const QString defaults = QStringLiteral("192.168.0.199|255.255.255.0|192.168.0.1| | ");
        QTest::newRow("stored") << QByteArray("[config]\nIPAddress=10.1.2.3\nSubNetMask=255.255.0.0\nGateWay=10.1.0.1\n"
                                              "Barcode=QX-\xe6\xb5\x8b-7\nusbupgradedir=upgrade/r58\n")
                                << QString::fromUtf8("10.1.2.3|255.255.0.0|10.1.0.1|QX-\xe6\xb5\x8b-7|upgrade/r58");
        QTest::newRow("no file") << QByteArray() << defaults;
        QTest::newRow("bad values") << QByteArray("[config]\nIPAddress=10.1.2.300\nSubNetMask=255.255.0\n"
                                                  "GateWay=1.2.3.4 && reboot\nusbupgradedir=../../data\n")
                                    << defaults;
        QTest::newRow("broken") << QByteArray("\x01\x02 not an ini [[[\n") << defaults;
    }
    void loadsTheStoredSettings()
    {
        QFETCH(QByteArray, ini);
        TestRoot root;
        if (!ini.isEmpty())
            root.write("/data/configs/tcpip.ini", ini);
        factoryage_log << "old line";
        ConfigEngine::pInstance();
        QTEST(QStringList({g_str_ip.get(), g_srt_mask.get(), g_str_gateway.get(), g_str_barcode.get(),
                           g_usb_grade_path.get()}).join('|'), "loaded");
        QVERIFY(factoryage_log.isEmpty());
    }

    // Written to the file at once, the globals stay until the next load; the
    // address is checked before any command runs.
    void writeAndApplyTheAddress()
    {
        TestRoot root;
        ConfigEngine *c = ConfigEngine::pInstance();
        c->write_config_variant(ConfigItem::IPAddress, QString("10.0.0.5"));
        c->write_config_variant(ConfigItem::SubNetMask, QString("255.0.0.0"));
        c->write_config_variant(ConfigItem::GateWay, QString("10.0.0.1"));
        c->write_config_variant(ConfigItem::usbupgradedir, QString::fromUtf8("升级"));
        const QString text = QString::fromUtf8(root.read("/data/configs/tcpip.ini"));
        QVERIFY(text.contains("[config]") && text.contains("IPAddress=10.0.0.5"));
        QCOMPARE(c->read_config_variant(ConfigItem::usbupgradedir).toString(), QString::fromUtf8("升级"));
        QCOMPARE(g_str_ip.get(), QString("192.168.0.199"));

        QCOMPARE(Utils::initIPAddress(), 0);   // the commands: the factory reset's test
        QCOMPARE(g_str_ip.get(), QString("10.0.0.5"));
        c->write_config_variant(ConfigItem::GateWay, QString("10.0.0.1;reboot"));
        Utils::clearRecordedCommands();
        QCOMPARE(Utils::initIPAddress(), 1);
        QCOMPARE(Utils::recordedCommands().size(), 1);   // only the probe
    }

    // The file keeps the format earlier versions wrote through QSettings:
    // each side reads what the other wrote, byte for byte the same.
    void fileFormatKept_data()
    {
        QTest::addColumn<QString>("value");
        for (const char *v : {"10.0.0.5", " ", "", "upgrade/r58", "a,b", "x;y=z", "say \"hi\" \\ back", "@home",
                              "tab\tand\nline", "  lead", "trail ", "\x01\x7f end", "\xe5\x8d\x87\xe7\xba\xa7 1a"})
            QTest::newRow(v) << QString::fromUtf8(v);
    }
    void fileFormatKept()
    {
        QFETCH(QString, value);
        TestRoot root;
        const QString file = root.file("/data/configs/tcpip.ini");
        {
            QSettings s(file, QSettings::IniFormat);
            s.setIniCodec("UTF-8");
            s.setValue("other/Key", "kept");
            s.setValue("config/IPAddress", "10.1.1.1");
            s.setValue("config/Barcode", value);
        }
        const QByteArray theirs = root.read("/data/configs/tcpip.ini");
        ConfigEngine *c = ConfigEngine::pInstance();
        QCOMPARE(c->read_config_variant(ConfigItem::Barcode).toString(), value);
        c->write_config_variant(ConfigItem::Barcode, QStringLiteral("x"));
        c->write_config_variant(ConfigItem::Barcode, value);
        QCOMPARE(root.read("/data/configs/tcpip.ini"), theirs);
    }

    // A link planted at the file's name is read only when it leads to a plain
    // file of a sane size; a save replaces the link and never its target.
    void linkAtTheFileName()
    {
        TestRoot root;
        const QString file = root.file("/data/configs/tcpip.ini");
        QVERIFY(QFile::link("/dev/zero", file));
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        ConfigEngine::pInstance();
        getrusage(RUSAGE_SELF, &after);
        QVERIFY(after.ru_maxrss - before.ru_maxrss < 64 * 1024);
        QCOMPARE(g_str_ip.get(), QString("192.168.0.199"));
        ConfigEngine::destroyInstance();

        const QByteArray elsewhere = "[config]\nIPAddress=10.9.9.9\n";
        root.write("/data/elsewhere.ini", elsewhere);
        QVERIFY(QFile::remove(file) && QFile::link(root.file("/data/elsewhere.ini"), file));
        ConfigEngine *c = ConfigEngine::pInstance();
        QCOMPARE(g_str_ip.get(), QString("10.9.9.9"));
        c->write_config_variant(ConfigItem::GateWay, QString("10.9.9.1"));
        QCOMPARE(root.read("/data/elsewhere.ini"), elsewhere);
        QVERIFY(!QFileInfo(file).isSymLink());
        QCOMPARE(root.read("/data/configs/tcpip.ini"), QByteArray("[config]\nGateWay=10.9.9.1\nIPAddress=10.9.9.9\n"));
    }

    // A lock left by a save cut short, empty or naming this very process,
    // does not hold up the next save.
    void staleLockDoesNotStallTheSave_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("this process") << QByteArray::number(QCoreApplication::applicationPid()) + "\ntest_config_engine\n"
                                             + QSysInfo::machineHostName().toUtf8() + "\n";
    }
    void staleLockDoesNotStallTheSave()
    {
        QFETCH(QByteArray, lock);
        TestRoot root;
        root.write("/data/configs/tcpip.ini.lock", lock);
        ConfigEngine *c = ConfigEngine::pInstance();
        QElapsedTimer t;
        t.start();
        c->write_config_variant(ConfigItem::IPAddress, QString("10.0.0.7"));
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(c->read_config_variant(ConfigItem::IPAddress).toString(), QString("10.0.0.7"));
    }
};

QTEST_GUILESS_MAIN(TestConfigEngine)
#include "test_config_engine.moc"
