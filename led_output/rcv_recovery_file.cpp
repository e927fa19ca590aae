#include "led_output/rcv_recovery_file.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "core/logmsg.h"
#include "core/utils.h"
#include "led_output/locked_copy.h"
#include "led_output/rcv_card.h"

const char *const rcvRecovery::RECOVERY_DIR = "/data/rcvrecovery";
const char *const rcvRecovery::SMART_DIR = "/data/smartmapping";

namespace {
QStringList regularFiles(const QString &folder)
{
    QStringList names;
    const QFileInfoList list =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QFileInfo &fi : list)
        if (fi.isFile() && !fi.isSymLink())
            names.append(fi.fileName());
    std::sort(names.begin(), names.end());
    return names;
}
}

int rcvRecovery::get_dir_file(const QString &path)
{
    const QString which = QDir::cleanPath(path);
    const bool recovery = which == QLatin1String(RECOVERY_DIR);
    if (!recovery && which != QLatin1String(SMART_DIR))
        return 1;
    const QString folder = Utils::devicePath(which);
    if (!QFileInfo(folder).isDir())
        return 1;
    const QStringList names = regularFiles(folder);
    std::lock_guard<std::mutex> lock(m_mutex);
    (recovery ? m_recovery_files : m_smart_files) = names;
    return 0;
}

int rcvRecovery::recovery_file_count() const { return recovery_files().size(); }
int rcvRecovery::smart_file_count() const { return smart_files().size(); }
QStringList rcvRecovery::recovery_files() const { return lockedCopy(m_mutex, m_recovery_files); }
QStringList rcvRecovery::smart_files() const { return lockedCopy(m_mutex, m_smart_files); }

bool rcvRecovery::parse(const QByteArray &data, QVector<Section> *sections)
{
    sections->clear();
    if (data.size() < 6 || !data.startsWith("QRCV") || u8(data[4]) != 1)
        return false;
    const int n = u8(data[5]);
    if (n < 1 || n > 24)
        return false;
    QVector<Section> found;
    int at = 6;
    for (int i = 0; i < n; ++i) {
        if (at + 4 > data.size())
            return false;
        Section s;
        s.port = u8(data[at]);
        s.card_count = u16(u8(data[at + 2]) | u8(data[at + 3]) << 8);
        at += 4;
        const qint64 len = qint64(s.card_count) * rcv_card::PARA_SIZE;
        if (s.port > 23 || at + len > data.size())
            return false;
        s.blocks = data.mid(at, int(len));
        at += int(len);
        found.append(s);
    }
    *sections = found;
    return true;
}

QByteArray rcvRecovery::block(const Section &s, int card)
{
    if (card < 0 || card >= s.card_count || qint64(card + 1) * rcv_card::PARA_SIZE > s.blocks.size())
        return QByteArray();
    return s.blocks.mid(card * rcv_card::PARA_SIZE, rcv_card::PARA_SIZE);
}

bool rcvRecovery::read_screen(int screen, QVector<Section> *sections) const
{
    QString name;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (screen < 0 || screen >= m_recovery_files.size())
            return false;
        name = m_recovery_files.at(screen);
    }
    return read_file(name, sections);
}

bool rcvRecovery::read_file(const QString &name, QVector<Section> *sections) const
{
    const QString folder = Utils::devicePath(QLatin1String(RECOVERY_DIR));
    const QFileInfo fi(folder + QLatin1Char('/') + name);
    if (name.isEmpty() || fi.fileName() != name || fi.absolutePath() != QFileInfo(folder).absoluteFilePath())
        return false;
    Utils::ReadStatus read = Utils::ReadStatus::NotRegular;
    QByteArray data;
    if (!fi.isSymLink())
        data = Utils::readHostFile(fi.absoluteFilePath(), MAX_FILE_SIZE, &read);
    if (read != Utils::ReadStatus::Read) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("recovery file %1 unreadable").arg(name));
        return false;
    }
    if (!parse(data, sections)) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("recovery file %1 malformed").arg(name));
        return false;
    }
    return true;
}

void rcvRecovery::set_found(const QString &file, u8 port, u16 card_count)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_found_file = file;
    m_port_index = port;
    m_card_count = card_count;
}

QString rcvRecovery::found_file() const { return lockedCopy(m_mutex, m_found_file); }
u8 rcvRecovery::port_index() const { return lockedCopy(m_mutex, m_port_index); }
u16 rcvRecovery::card_count() const { return lockedCopy(m_mutex, m_card_count); }
