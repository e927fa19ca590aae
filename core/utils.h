#ifndef QEL_CORE_UTILS_H
#define QEL_CORE_UTILS_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <mutex>

#include "core/types.h"

class Utils
{
public:
    // Named process-wide mutexes, each guarding one bus, file or hand-over.
    static std::mutex _spi_mutex;
    static std::mutex _c331_bnk_mutex;
    static std::recursive_mutex _system_mutex;   // host commands, clock reads
    static std::mutex _file_deal_mutex;
    static std::mutex _source_hdminfo_mutex;
    static std::mutex _led_para_init_mutex;      // g_set_led_para / g_set_led_setup
    static std::mutex _bri_set_mutex;
    static std::mutex _fpga_multicast_mutex;
    static std::mutex _test_signal_mutex;

    // Ticks elapsed since a stamp taken from G_timeTicks (safe across wrap).
    static u32 getTimeSpace(u32 stamp);
    // XOR of len bytes.
    static u8 BCC(const u8 *data, int len);

    // Maps an absolute device path ("/data/...") below QEL_ROOT (unset: "/").
    static QString devicePath(const QString &absolute);
    static QString rootFolder();

    // Runs a host command. Off the device it is recorded, never executed:
    // kept in memory and appended to "<root>/commands.log". Result 0.
    static int system_mutex(const QString &command, int *status);
    static QStringList recordedCommands();
    static void clearRecordedCommands();

    // Atomic write of a device file: temporary file, flush to disk, rename,
    // flush of the folder (so the rename survives a power cut). A link at the
    // name is replaced, never written through.
    static bool writeFileAtomic(const QString &absolute, const QByteArray &data);
    // fsync of a host folder; false when it cannot be opened or flushed.
    static bool syncFolder(const QString &hostFolder);
    // Removes what interrupted saves left in the folders written under /data
    // ("<file>.XXXXXX" beside the files written there, and the settings
    // file's old lock). Start-up only, before anything writes. Returns how
    // many were removed.
    static int removeAtomicLeftovers();

    // Steps of an atomic write, in order. A test hook sees each before it is
    // taken (host path of the file) and fails it by returning false.
    enum class SaveStep { Rename, FolderSync };
    using SaveHook = std::function<bool(SaveStep step, const QString &path)>;
    static void setSaveHook(SaveHook hook);

    // Files from outside are read through one bounded reader: only a regular
    // file (links followed), and never more than limit + 1 bytes of it.
    enum class ReadStatus { Read, Missing, NotRegular, TooLarge, Unreadable };
    // The whole device file when it holds at most limit bytes; otherwise
    // empty, and status says why.
    static QByteArray readFile(const QString &absolute, qint64 limit, ReadStatus *status = nullptr);
    // The same for a host path (already below the root).
    static QByteArray readHostFile(const QString &hostPath, qint64 limit, ReadStatus *status = nullptr);
    // "missing", "not a plain file", "larger than N bytes", "unreadable".
    static QString readStatusText(ReadStatus status, qint64 limit);

    // Probes eth0 and, when present, applies the stored address settings.
    static int initIPAddress();
    static bool isIPv4(const QString &text);
};

#endif
