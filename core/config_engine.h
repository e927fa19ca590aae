#ifndef QEL_CORE_CONFIG_ENGINE_H
#define QEL_CORE_CONFIG_ENGINE_H

#include <QString>
#include <QVariant>
#include <mutex>

namespace ConfigItem {
// The 18 keys of "/data/configs/tcpip.ini", by number.
enum ConfigName {
    Reserved0 = 0,
    Reserved1 = 1,
    IPAddress = 2,
    SubNetMask = 3,
    GateWay = 4,
    Reserved5 = 5,
    Barcode = 6,
    Reserved7 = 7,
    Reserved8 = 8,
    Reserved9 = 9,
    Reserved10 = 10,
    Reserved11 = 11,
    Reserved12 = 12,
    Reserved13 = 13,
    Reserved14 = 14,
    Reserved15 = 15,
    usbupgradedir = 16,
    Reserved17 = 17,
    ConfigCount = 18
};
}

// The settings store: "/data/configs/tcpip.ini", group "config", UTF-8.
class ConfigEngine
{
public:
    static ConfigEngine *p_config;
    static ConfigEngine *pInstance();   // creates on first use and loads the globals
    static void destroyInstance();      // tests

    QVariant read_config_variant(ConfigItem::ConfigName item);
    // Stores the value and writes the file at once; leaves the globals alone.
    void write_config_variant(ConfigItem::ConfigName item, QVariant value);
    // Reads the file into g_str_ip, g_srt_mask, g_str_gateway, g_str_barcode, g_usb_grade_path.
    void load_globals();
    static QString keyName(ConfigItem::ConfigName item);

private:
    ConfigEngine();
    std::mutex m_mutex;
};

#endif
