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

    void readsTheStoredSettings()
    {
        TestRoot root;
        root.write("/data/configs/tcpip.ini",
                   "[config]\nIPAddress=10.1.2.3\nSubNetMask=255.255.0.0\nGateWay=10.1.0.1\n"
                   "Barcode=QX-\xe6\xb5\x8b\xe8\xaf\x95-7\nusbupgradedir=upgrade/r58\n");
        factoryage_log << "old line";
        ConfigEngine::pInstance();
        QCOMPARE(g_str_ip.get(), QString("10.1.2.3"));
        QCOMPARE(g_srt_mask.get(), QString("255.255.0.0"));
        QCOMPARE(g_str_gateway.get(), QString("10.1.0.1"));
        QCOMPARE(g_str_barcode.get(), QString::fromUtf8("QX-\xe6\xb5\x8b\xe8\xaf\x95-7"));
        QCOMPARE(g_usb_grade_path.get(), QString("upgrade/r58"));
        QVERIFY(factoryage_log.isEmpty());
    }

    // no file, bad values or a broken file: the defaults stay
    void badValuesKeepTheirDefaults()
    {
        TestRoot root;
        ConfigEngine::pInstance();
        QCOMPARE(g_str_ip.get(), QString("192.168.0.199"));
        ConfigEngine::destroyInstance();
        root.write("/data/configs/tcpip.ini",
                   "[config]\nIPAddress=10.1.2.300\nSubNetMask=255.255.0\nGateWay=1.2.3.4 && reboot\n"
                   "usbupgradedir=../../data\n");
        ConfigEngine::pInstance();
        QCOMPARE(g_str_ip.get(), QString("192.168.0.199"));
        QCOMPARE(g_srt_mask.get(), QString("255.255.255.0"));
        QCOMPARE(g_str_gateway.get(), QString("192.168.0.1"));
        QCOMPARE(g_usb_grade_path.get(), QString(" "));

        root.write("/data/configs/tcpip.ini", "\x01\x02 not an ini [[[\n");
        ConfigEngine::destroyInstance();
        ConfigEngine::pInstance();
        QCOMPARE(g_str_ip.get(), QString("192.168.0.199"));
    }

    void writeGoesToTheFileAtOnce()
    {
        TestRoot root;
        ConfigEngine *c = ConfigEngine::pInstance();
        c->write_config_variant(ConfigItem::IPAddress, QString("192.168.1.20"));
        c->write_config_variant(ConfigItem::usbupgradedir, QString::fromUtf8("升级"));
        const QString text = QString::fromUtf8(root.read("/data/configs/tcpip.ini"));
        QVERIFY(text.contains("[config]") && text.contains("IPAddress=192.168.1.20"));
        QCOMPARE(c->read_config_variant(ConfigItem::usbupgradedir).toString(), QString::fromUtf8("升级"));
        // the globals stay until the next load
        QCOMPARE(g_str_ip.get(), QString("192.168.0.199"));
    }

    void initIPAddressValidatesBeforeAnyCommand()
    {
        TestRoot root;
        ConfigEngine *c = ConfigEngine::pInstance();
        c->write_config_variant(ConfigItem::IPAddress, QString("10.0.0.5"));
        c->write_config_variant(ConfigItem::SubNetMask, QString("255.0.0.0"));
        c->write_config_variant(ConfigItem::GateWay, QString("10.0.0.1"));
        Utils::clearRecordedCommands();
        QCOMPARE(Utils::initIPAddress(), 0);
        QCOMPARE(Utils::recordedCommands(),
                 QStringList({"ifconfig eth0 >/dev/null 2>&1", "ifconfig eth0 10.0.0.5 netmask 255.0.0.0",
                              "route add default gw 10.0.0.1"}));
        QCOMPARE(g_str_ip.get(), QString("10.0.0.5"));

        c->write_config_variant(ConfigItem::GateWay, QString("10.0.0.1;reboot"));
        Utils::clearRecordedCommands();
        QCOMPARE(Utils::initIPAddress(), 1);
        QCOMPARE(Utils::recordedCommands().size(), 1);   // only the probe
    }
};

QTEST_GUILESS_MAIN(TestConfigEngine)
#include "test_config_engine.moc"
