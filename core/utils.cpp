#include "core/utils.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/config_engine.h"
#include "core/global.h"
#include "core/logmsg.h"

std::mutex Utils::_spi_mutex;
std::mutex Utils::_c331_bnk_mutex;
std::recursive_mutex Utils::_system_mutex;
std::mutex Utils::_file_deal_mutex;
std::mutex Utils::_source_hdminfo_mutex;
std::mutex Utils::_led_para_init_mutex;
std::mutex Utils::_bri_set_mutex;
std::mutex Utils::_fpga_multicast_mutex;
std::mutex Utils::_test_signal_mutex;

namespace {
QStringList s_commands;   // guarded by Utils::_system_mutex

std::mutex s_hookMutex;
Utils::SaveHook s_saveHook;   // guarded by s_hookMutex

bool saveStep(Utils::SaveStep step, const QString &path)
{
    Utils::SaveHook hook;
    {
        std::lock_guard<std::mutex> lock(s_hookMutex);
        hook = s_saveHook;
    }
    return !hook || hook(step, path);
}

// The folders below /data that atomic writes go to, and the names written
// there (an atomic write's temporary file is "<name>.XXXXXX").
struct SavedFolder
{
    const char *folder;
    const char *names;
};
const SavedFolder kSavedFolders[] = {
    {"/data", "ram_device_info"},
    {"/data/modes", "custom_mode[0-9]+|MO[0-9A-Fa-f]{2}\\.json"},
    {"/data/configs", "tcpip\\.ini"},
    {"/data/app", ".+\\.(QEL|QELZK)"},
};

// Lock files of saves that only this program makes. Earlier versions locked
// the settings file for each save; a lock left by a cut save held the next
// one up for half a minute.
const char *const kStaleLocks[] = {"/data/configs/tcpip.ini.lock"};
}

u32 Utils::getTimeSpace(u32 stamp)
{
    return u32(G_timeTicks.load(std::memory_order_relaxed) - stamp);
}

u8 Utils::BCC(const u8 *data, int len)
{
    u8 x = 0;
    for (int i = 0; i < len; ++i)
        x ^= data[i];
    return x;
}

QString Utils::rootFolder()
{
    const QByteArray root = qgetenv("QEL_ROOT");
    if (root.isEmpty())
        return QStringLiteral("/");
    return QDir::cleanPath(QString::fromLocal8Bit(root));
}

QString Utils::devicePath(const QString &absolute)
{
    const QString root = rootFolder();
    if (root == QLatin1String("/"))
        return absolute;
    QString rel = absolute;
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    QString out = root + QLatin1Char('/') + rel;
    // keep a trailing slash: callers name folders that way ("/mnt/usb1/")
    if (absolute.endsWith(QLatin1Char('/')) && !out.endsWith(QLatin1Char('/')))
        out += QLatin1Char('/');
    return out;
}

int Utils::system_mutex(const QString &command, int *status)
{
    std::lock_guard<std::recursive_mutex> lock(_system_mutex);
    s_commands.append(command);
    QFile log(rootFolder() + QStringLiteral("/commands.log"));
    if (rootFolder() != QLatin1String("/") && log.open(QIODevice::Append | QIODevice::Text)) {
        log.write(QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + ' ' + command.toUtf8() + '\n');
        log.close();
    }
    qel_trace("system: %s (recorded)\n", command.toLocal8Bit().constData());
    if (status)
        *status = 0;
    return 0;
}

QStringList Utils::recordedCommands()
{
    std::lock_guard<std::recursive_mutex> lock(_system_mutex);
    return s_commands;
}

void Utils::clearRecordedCommands()
{
    std::lock_guard<std::recursive_mutex> lock(_system_mutex);
    s_commands.clear();
}

bool Utils::writeFileAtomic(const QString &absolute, const QByteArray &data)
{
    const QString path = devicePath(absolute);
    const QFileInfo target(path);
    QDir().mkpath(target.absolutePath());
    // beside the file, renamed over its name: a link there is replaced
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open()) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("cannot write %1").arg(absolute));
        return false;
    }
    // a new file rw-r--r--, a replaced one keeps its own
    QFileDevice::Permissions kept = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                                    | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (target.isFile() && !target.isSymLink())
        kept = target.permissions();
    file.setPermissions(kept);
    if (file.write(data) != data.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("short write %1").arg(absolute));
        return false;
    }
    if (!saveStep(SaveStep::Rename, path)
        || ::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("cannot commit %1").arg(absolute));
        return false;
    }
    file.setAutoRemove(false);
    // the rename itself reaches the disk with the folder
    if (!saveStep(SaveStep::FolderSync, path) || !syncFolder(target.absolutePath())) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("folder of %1 not flushed").arg(absolute));
        return false;
    }
    return true;
}

bool Utils::syncFolder(const QString &hostFolder)
{
    const int fd = ::open(QFile::encodeName(hostFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

int Utils::removeAtomicLeftovers()
{
    int removed = 0;
    for (const SavedFolder &f : kSavedFolders) {
        const QRegularExpression leftover(QStringLiteral("^(%1)\\.[A-Za-z0-9]{6}$").arg(QLatin1String(f.names)));
        const QDir dir(devicePath(QLatin1String(f.folder)));
        const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo &fi : entries) {
            if (fi.isSymLink() || !fi.isFile() || !leftover.match(fi.fileName()).hasMatch())
                continue;
            if (QFile::remove(fi.absoluteFilePath())) {
                ++removed;
                writeLogMsg(LOG_NOTICE, QStringLiteral("removed the leftover of an interrupted save: %1/%2")
                                            .arg(QLatin1String(f.folder), fi.fileName()));
            }
        }
    }
    for (const char *lock : kStaleLocks) {
        const QFileInfo fi(devicePath(QLatin1String(lock)));
        if ((fi.isSymLink() || fi.isFile()) && QFile::remove(fi.absoluteFilePath())) {
            ++removed;
            writeLogMsg(LOG_NOTICE, QStringLiteral("removed a stale lock: %1").arg(QLatin1String(lock)));
        }
    }
    return removed;
}

void Utils::setSaveHook(SaveHook hook)
{
    std::lock_guard<std::mutex> lock(s_hookMutex);
    s_saveHook = std::move(hook);
}

QByteArray Utils::readFile(const QString &absolute, qint64 limit, ReadStatus *status)
{
    return readHostFile(devicePath(absolute), limit, status);
}

QByteArray Utils::readHostFile(const QString &hostPath, qint64 limit, ReadStatus *status)
{
    Q_ASSERT(limit >= 0 && limit < (1 << 30));
    const auto done = [status](ReadStatus s) {
        if (status)
            *status = s;
        return QByteArray();
    };
    // not blocking: a pipe planted at the name must not hold the reader up
    const int fd = ::open(QFile::encodeName(hostPath).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return done(errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return done(ReadStatus::NotRegular);
    }
    if (st.st_size > limit) {
        ::close(fd);
        return done(ReadStatus::TooLarge);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return done(ReadStatus::Unreadable);
    }
    // sized as the file was measured; a file still growing is read only to
    // one byte past the limit
    QByteArray data(int(st.st_size) + 1, Qt::Uninitialized);
    qint64 got = 0;
    for (;;) {
        if (got == data.size()) {
            if (got > limit)
                return done(ReadStatus::TooLarge);
            data.resize(int(qMin(limit + 1, got * 2 + 4096)));
        }
        const qint64 n = file.read(data.data() + got, data.size() - got);
        if (n < 0)
            return done(ReadStatus::Unreadable);
        if (n == 0)
            break;
        got += n;
    }
    if (got > limit)
        return done(ReadStatus::TooLarge);
    data.truncate(int(got));
    if (status)
        *status = ReadStatus::Read;
    return data;
}

QString Utils::readStatusText(ReadStatus status, qint64 limit)
{
    switch (status) {
    case ReadStatus::Read:
        return QString();
    case ReadStatus::Missing:
        return QStringLiteral("missing");
    case ReadStatus::NotRegular:
        return QStringLiteral("not a plain file");
    case ReadStatus::TooLarge:
        return QStringLiteral("larger than %1 bytes").arg(limit);
    case ReadStatus::Unreadable:
        break;
    }
    return QStringLiteral("unreadable");
}

bool Utils::isIPv4(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &p : parts) {
        if (p.isEmpty() || p.size() > 3)
            return false;
        for (QChar c : p)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        if (p.toInt() > 255)
            return false;
    }
    return true;
}

int Utils::initIPAddress()
{
    int status = -1;
    system_mutex(QStringLiteral("ifconfig eth0 >/dev/null 2>&1"), &status);
    if (status != 0)
        return 1;   // no eth0: nothing changes

    ConfigEngine *cfg = ConfigEngine::pInstance();
    const QString ip = cfg->read_config_variant(ConfigItem::IPAddress).toString();
    const QString mask = cfg->read_config_variant(ConfigItem::SubNetMask).toString();
    const QString gw = cfg->read_config_variant(ConfigItem::GateWay).toString();
    if (!isIPv4(ip) || !isIPv4(mask) || !isIPv4(gw)) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("initIPAddress: stored address is not a dotted quad"));
        return 1;
    }
    g_str_ip = ip;
    g_srt_mask = mask;
    g_str_gateway = gw;
    system_mutex(QStringLiteral("ifconfig eth0 %1 netmask %2").arg(ip, mask), nullptr);
    // replaces the default route rather than adding a second one beside it
    system_mutex(QStringLiteral("ip route replace default via %1 dev eth0").arg(gw), nullptr);
    return 0;
}
