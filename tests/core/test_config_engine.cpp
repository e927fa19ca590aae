#include <QtTest>

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
};

QTEST_GUILESS_MAIN(TestConfigEngine)
#include "test_config_engine.moc"
