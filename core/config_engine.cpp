#include "core/config_engine.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "core/global.h"
#include "core/logmsg.h"
#include "core/utils.h"

ConfigEngine *ConfigEngine::p_config = nullptr;

namespace {
const char *const kNames[ConfigItem::ConfigCount] = {
    "Reserved0", "Reserved1", "IPAddress", "SubNetMask", "GateWay", "Reserved5",
    "Barcode", "Reserved7", "Reserved8", "Reserved9", "Reserved10", "Reserved11",
    "Reserved12", "Reserved13", "Reserved14", "Reserved15", "usbupgradedir", "Reserved17",
};

const char *const kFile = "/data/configs/tcpip.ini";

QString settingsPath() { return Utils::devicePath(QString::fromLatin1(kFile)); }
}

ConfigEngine::ConfigEngine()
{
    factoryage_log.clear();
    load_globals();
}

ConfigEngine *ConfigEngine::pInstance()
{
    if (!p_config)
        p_config = new ConfigEngine();
    return p_config;
}

void ConfigEngine::destroyInstance()
{
    delete p_config;
    p_config = nullptr;
}

QString ConfigEngine::keyName(ConfigItem::ConfigName item)
{
    if (item < 0 || item >= ConfigItem::ConfigCount)
        return QString();
    return QString::fromLatin1(kNames[item]);
}

QVariant ConfigEngine::read_config_variant(ConfigItem::ConfigName item)
{
    const QString key = keyName(item);
    if (key.isEmpty())
        return QVariant();
    std::lock_guard<std::mutex> lock(m_mutex);
    QSettings s(settingsPath(), QSettings::IniFormat);
    s.setIniCodec("UTF-8");
    return s.value(QStringLiteral("config/") + key);
}

void ConfigEngine::write_config_variant(ConfigItem::ConfigName item, QVariant value)
{
    const QString key = keyName(item);
    if (key.isEmpty()) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("write_config_variant: no item %1").arg(int(item)));
        return;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    QDir().mkpath(QFileInfo(settingsPath()).absolutePath());
    QSettings s(settingsPath(), QSettings::IniFormat);
    s.setIniCodec("UTF-8");
    s.setValue(QStringLiteral("config/") + key, value);
    s.sync();   // written through a temporary file and renamed
    if (s.status() != QSettings::NoError || !Utils::syncFolder(QFileInfo(settingsPath()).absolutePath()))
        writeLogMsg(LOG_FAILURE, QStringLiteral("cannot write %1").arg(QString::fromLatin1(kFile)));
}

void ConfigEngine::load_globals()
{
    struct AddressItem {
        ConfigItem::ConfigName item;
        SharedText *global;
    };
    const AddressItem addresses[] = {
        {ConfigItem::IPAddress, &g_str_ip},
        {ConfigItem::SubNetMask, &g_srt_mask},
        {ConfigItem::GateWay, &g_str_gateway},
    };
    for (const AddressItem &a : addresses) {
        const QVariant v = read_config_variant(a.item);
        if (!v.isValid())
            continue;
        const QString text = v.toString().trimmed();
        if (Utils::isIPv4(text))
            *a.global = text;
        else
            writeLogMsg(LOG_FAILURE, QStringLiteral("%1 is not an address: kept %2")
                                         .arg(keyName(a.item), a.global->get()));
    }

    const QString barcode = read_config_variant(ConfigItem::Barcode).toString();
    g_str_barcode = barcode.isEmpty() ? QStringLiteral(" ") : barcode;

    // the upgrade folder must stay below the stick's folder
    QString dir = read_config_variant(ConfigItem::usbupgradedir).toString();
    if (dir.trimmed().isEmpty()) {
        dir = QStringLiteral(" ");
    } else {
        const QString base = QStringLiteral("/mnt/usb1/");
        const QString joined = QDir::cleanPath(base + dir);
        if (!joined.startsWith(base) || dir.startsWith(QLatin1Char('/'))) {
            writeLogMsg(LOG_FAILURE, QStringLiteral("usbupgradedir leaves the stick: ignored"));
            dir = QStringLiteral(" ");
        }
    }
    g_usb_grade_path = dir;
}
