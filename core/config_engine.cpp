#include "core/config_engine.h"

#include <QDir>
#include <QStringList>
#include <algorithm>
#include <cstring>

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
const QByteArray kGroup = QByteArrayLiteral("config");

// The file as its sections, each key with its value still escaped, so that
// what a save does not change is written back as it was read.
struct IniSection
{
    QByteArray name;
    QVector<QPair<QByteArray, QByteArray>> entries;   // key, escaped value
};
using Ini = QVector<IniSection>;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

int unquotedIndexOf(const QByteArray &line, char wanted)
{
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == wanted && !quoted)
            return i;
    }
    return -1;
}

int sectionIndex(Ini &ini, const QByteArray &name)
{
    for (int k = 0; k < ini.size(); ++k)
        if (ini[k].name == name)
            return k;
    ini.append(IniSection{name, {}});
    return ini.size() - 1;
}

void setEntry(IniSection &s, const QByteArray &key, const QByteArray &value)
{
    for (auto &e : s.entries) {
        if (e.first == key) {
            e.second = value;
            return;
        }
    }
    s.entries.append({key, value});
}

// Lines as QSettings splits them: a line break inside quotes or after a
// backslash goes on with the line; ';' outside quotes starts a comment.
Ini parseIni(const QByteArray &data)
{
    Ini ini;
    int current = -1;
    int i = data.startsWith("\xef\xbb\xbf") ? 3 : 0;
    const int n = data.size();
    while (i < n) {
        while (i < n && isBlank(data[i]))
            ++i;
        if (i < n && data[i] == ';') {
            while (i < n && data[i] != '\n' && data[i] != '\r')
                ++i;
            continue;
        }
        const int start = i;
        bool quoted = false;
        for (; i < n; ++i) {
            const char c = data[i];
            if ((c == '\n' || c == '\r' || c == ';') && !quoted)
                break;
            if (c == '"') {
                quoted = !quoted;
            } else if (c == '\\' && i + 2 < n && (data[i + 1] == '\r' || data[i + 1] == '\n')
                       && (data[i + 2] == '\r' || data[i + 2] == '\n') && data[i + 1] != data[i + 2]) {
                i += 2;   // a line joined on with CR LF
            } else if (c == '\\') {
                ++i;
            }
        }
        i = qMin(i, n);
        const QByteArray line = data.mid(start, i - start);
        if (line.startsWith('[')) {
            const int close = line.indexOf(']');
            current = sectionIndex(ini, (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed());
            continue;
        }
        const int eq = unquotedIndexOf(line, '=');
        const QByteArray key = line.left(eq).trimmed();
        if (eq <= 0 || key.isEmpty())
            continue;
        if (current < 0)
            current = sectionIndex(ini, QByteArrayLiteral("General"));
        setEntry(ini[current], key, line.mid(eq + 1));
    }
    return ini;
}

QByteArray renderIni(const Ini &ini)
{
    QByteArray out;
    for (const IniSection &s : ini) {
        if (s.entries.isEmpty())
            continue;
        if (!out.isEmpty())
            out += '\n';
        out += '[' + s.name + "]\n";
        auto entries = s.entries;
        std::sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &e : entries)
            out += e.first + '=' + e.second + '\n';
    }
    return out;
}

// A value as QSettings reads it: blanks around it dropped, quotes and
// backslash escapes, a comma outside quotes making a list, "@" forms.
QVariant decodeText(const QString &s)
{
    if (s.startsWith(QLatin1Char('@'))) {
        if (s == QLatin1String("@Invalid()"))
            return QVariant();
        if (s.startsWith(QLatin1String("@ByteArray(")) && s.endsWith(QLatin1Char(')')))
            return s.mid(11, s.size() - 12).toLatin1();
        if (s.startsWith(QLatin1String("@String(")) && s.endsWith(QLatin1Char(')')))
            return s.mid(8, s.size() - 9);
        if (s.startsWith(QLatin1String("@@")))
            return s.mid(1);
    }
    return s;
}

int digitValue(QChar c, int base)
{
    const ushort u = c.unicode();
    int v = 99;
    if (u >= '0' && u <= '9')
        v = u - '0';
    else if (u >= 'a' && u <= 'f')
        v = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        v = u - 'A' + 10;
    return v < base ? v : -1;
}

QVariant decodeValue(const QByteArray &raw)
{
    const QString s = QString::fromUtf8(raw);
    const int n = s.size();
    QStringList items;
    QString cur;
    bool list = false;
    bool inQuotes = false;
    bool quoted = false;
    int keep = 0;   // trailing blanks are cut down to this length at most
    int i = 0;
    const auto skipBlanks = [&] {
        while (i < n && (s[i] == QLatin1Char(' ') || s[i] == QLatin1Char('\t')))
            ++i;
        keep = cur.size();
    };
    const auto cutBlanks = [&] {
        int end = cur.size();
        while (end > keep && (cur[end - 1] == QLatin1Char(' ') || cur[end - 1] == QLatin1Char('\t')))
            --end;
        cur.truncate(end);
    };
    skipBlanks();
    while (i < n) {
        const QChar c = s[i++];
        if (c == QLatin1Char('\\')) {
            if (i >= n)
                break;
            const char e = s[i++].toLatin1();
            static const char kEscapes[] = "a\ab\bf\fn\nr\rt\tv\v\"\"?\?''\\\\";
            const char *hit = e ? std::strchr(kEscapes, e) : nullptr;
            if (hit && (hit - kEscapes) % 2 == 0) {
                cur += QLatin1Char(hit[1]);
            } else if (e == 'x' || (e >= '0' && e <= '7')) {
                const int base = e == 'x' ? 16 : 8;
                int digits = e == 'x' ? 0 : 1;
                uint v = e == 'x' ? 0 : uint(e - '0');
                for (; i < n && digitValue(s[i], base) >= 0; ++i, ++digits)
                    v = v * uint(base) + uint(digitValue(s[i], base));
                if (digits > 0)
                    cur += QChar(ushort(v));
            } else if ((e == '\n' || e == '\r') && i < n && (s[i] == QLatin1Char('\n') || s[i] == QLatin1Char('\r'))
                       && s[i] != QLatin1Char(e)) {
                ++i;   // a line joined on
            }
            keep = cur.size();
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (c == QLatin1Char(',') && !inQuotes) {
            if (!quoted)
                cutBlanks();
            list = true;
            items << cur;
            cur.clear();
            quoted = false;
            skipBlanks();
        } else {
            cur += c;
        }
    }
    if (!quoted)
        cutBlanks();
    if (!list)
        return decodeText(cur);
    items << cur;
    for (QString &item : items)
        if (item.startsWith(QLatin1String("@@")))
            item.remove(0, 1);
    return items;
}

// A text as QSettings writes it: controls, quotes and backslashes escaped,
// the rest in UTF-8, quoted when it holds ; , = or starts or ends blank.
QByteArray escapeText(const QString &s, bool utf8)
{
    QByteArray out;
    bool quotes = false;
    bool hexNext = false;   // after \x or \0 a hex digit must be escaped too
    for (int i = 0; i < s.size(); ++i) {
        const ushort ch = s[i].unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            quotes = true;
        const bool hexDigit = (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
        if (hexNext && hexDigit) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        hexNext = false;
        static const char kEscaped[] = "\aa\bb\ff\nn\rr\tt\vv\"\"\\\\";
        const char *hit = ch && ch < 0x80 ? std::strchr(kEscaped, char(ch)) : nullptr;
        if (ch == 0) {
            out += "\\0";
            hexNext = true;
        } else if (hit && (hit - kEscaped) % 2 == 0) {
            out += '\\';
            out += hit[1];
        } else if (ch <= 0x1F || (ch >= 0x7F && !utf8)) {
            out += "\\x" + QByteArray::number(ch, 16);
            hexNext = true;
        } else if (!utf8) {
            out += char(ch);
        } else if (QChar::isHighSurrogate(ch) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            out += s.mid(i++, 2).toUtf8();
        } else {
            out += QString(QChar(ch)).toUtf8();
        }
    }
    if (quotes || out.startsWith(' ') || out.endsWith(' '))
        out = '"' + out + '"';
    return out;
}

QByteArray encodeText(QString s)
{
    if (s.contains(QChar::Null))
        s = QLatin1String("@String(") + s + QLatin1Char(')');
    else if (s.startsWith(QLatin1Char('@')))
        s.prepend(QLatin1Char('@'));
    return escapeText(s, true);
}

QByteArray encodeValue(const QVariant &v)
{
    switch (v.type()) {
    case QVariant::Invalid:
        return QByteArrayLiteral("@Invalid()");
    case QVariant::ByteArray:
        return escapeText(QLatin1String("@ByteArray(") + QString::fromLatin1(v.toByteArray()) + QLatin1Char(')'), false);
    case QVariant::StringList: {
        const QStringList items = v.toStringList();
        if (items.isEmpty())
            return QByteArrayLiteral("@Invalid()");
        QByteArray out;
        for (const QString &item : items)
            out += (out.isEmpty() ? "" : ", ") + encodeText(item);
        return out;
    }
    default:
        return encodeText(v.toString());
    }
}

// The file as far as it can be read; one refused counts as empty.
Ini loadIni()
{
    constexpr qint64 limit = ConfigEngine::MAX_FILE_BYTES;
    Utils::ReadStatus read;
    const QByteArray data = Utils::readFile(QString::fromLatin1(kFile), limit, &read);
    if (read != Utils::ReadStatus::Read && read != Utils::ReadStatus::Missing)
        writeLogMsg(LOG_FAILURE, QStringLiteral("%1 %2: taken as empty")
                                     .arg(QLatin1String(kFile), Utils::readStatusText(read, limit)));
    return parseIni(data);
}

QVariant iniValue(const Ini &ini, ConfigItem::ConfigName item)
{
    const QByteArray key = ConfigEngine::keyName(item).toLatin1();
    for (const IniSection &s : ini)
        if (s.name == kGroup)
            for (const auto &e : s.entries)
                if (e.first == key)
                    return decodeValue(e.second);
    return QVariant();
}
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
    if (keyName(item).isEmpty())
        return QVariant();
    std::lock_guard<std::mutex> lock(m_mutex);
    return iniValue(loadIni(), item);
}

void ConfigEngine::write_config_variant(ConfigItem::ConfigName item, QVariant value)
{
    write_config_variants({{item, value}});
}

bool ConfigEngine::write_config_variants(const Values &values)
{
    for (const auto &v : values) {
        if (keyName(v.first).isEmpty()) {
            writeLogMsg(LOG_FAILURE, QStringLiteral("write_config_variant: no item %1").arg(int(v.first)));
            return false;
        }
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    Ini ini = loadIni();
    IniSection &config = ini[sectionIndex(ini, kGroup)];
    for (const auto &v : values)
        setEntry(config, keyName(v.first).toLatin1(), encodeValue(v.second));
    return Utils::writeFileAtomic(QString::fromLatin1(kFile), renderIni(ini));
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
    Ini ini;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ini = loadIni();
    }
    for (const AddressItem &a : addresses) {
        const QVariant v = iniValue(ini, a.item);
        if (!v.isValid())
            continue;
        const QString text = v.toString().trimmed();
        if (Utils::isIPv4(text))
            *a.global = text;
        else
            writeLogMsg(LOG_FAILURE, QStringLiteral("%1 is not an address: kept %2")
                                         .arg(keyName(a.item), a.global->get()));
    }

    const QString barcode = iniValue(ini, ConfigItem::Barcode).toString();
    g_str_barcode = barcode.isEmpty() ? QStringLiteral(" ") : barcode;

    // the upgrade folder must stay below the stick's folder
    QString dir = iniValue(ini, ConfigItem::usbupgradedir).toString();
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
