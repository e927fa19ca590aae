#ifndef QEL_CORE_CONFIG_ENGINE_H
#define QEL_CORE_CONFIG_ENGINE_H

#include <QPair>
#include <QString>
#include <QVariant>
#include <QVector>
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

// The settings store: "/data/configs/tcpip.ini", group "config", UTF-8, in
// the INI layout QSettings writes. Every save replaces the whole file
// atomically; other groups and keys in it are kept.
class ConfigEngine
{
public:
    // Far above a real file (a few hundred bytes); a larger one counts as empty.
    static constexpr qint64 MAX_FILE_BYTES = 64 * 1024;

    using Values = QVector<QPair<ConfigItem::ConfigName, QVariant>>;

    static ConfigEngine *p_config;
    static ConfigEngine *pInstance();   // creates on first use and loads the globals
    static void destroyInstance();      // tests

    QVariant read_config_variant(ConfigItem::ConfigName item);
    // Stores the value and writes the file at once; leaves the globals alone.
    void write_config_variant(ConfigItem::ConfigName item, QVariant value);
    // Values that belong together, in one save: the file then holds all of
    // them, or, when the save fails (false), none.
    bool write_config_variants(const Values &values);
    // Reads the file into g_str_ip, g_srt_mask, g_str_gateway, g_str_barcode, g_usb_grade_path.
    void load_globals();
    static QString keyName(ConfigItem::ConfigName item);

private:
    ConfigEngine();
    std::mutex m_mutex;   // one read-modify-write of the file at a time
};

#endif
