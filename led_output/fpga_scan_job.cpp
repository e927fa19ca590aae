#include <QFileInfo>

#include "core/logmsg.h"
#include "core/utils.h"
#include "led_output/fpga_manage.h"
#include "led_output/rcv_cmd.h"
#include "led_output/rcv_recovery_file.h"

// Job 2: the scan file the smart mapping wizard chose goes to every card of
// the line's port, 256 bytes an exchange.

// A host path inside one of the folders, symbolic links resolved; empty when
// the path leaves them.
QString fpga_manage::inside_folders(const QString &path, const QStringList &folders)
{
    const QString canon = QFileInfo(path).canonicalFilePath();
    if (canon.isEmpty())
        return QString();
    for (const QString &f : folders) {
        const QString base = QFileInfo(f).canonicalFilePath();
        if (!base.isEmpty() && canon != base && path_below(canon, base))
            return canon;
    }
    return QString();
}

// The scan file named by the wizard, from the scan folder or the stick only.
bool fpga_manage::open_scan_file(LoadScanJob &j)
{
    const QStringList folders = {Utils::devicePath(QLatin1String(rcvRecovery::SMART_DIR)),
                                 Utils::devicePath(QStringLiteral("/mnt/usb1"))};
    QString path;
    if (!j.file.isEmpty()) {
        path = inside_folders(j.file, folders);
        if (path.isEmpty())
            path = inside_folders(Utils::devicePath(j.file), folders);
    }
    Utils::ReadStatus read = Utils::ReadStatus::Missing;
    j.data = path.isEmpty() ? QByteArray() : Utils::readHostFile(path, rcvRecovery::MAX_FILE_SIZE, &read);
    if (read != Utils::ReadStatus::Read || j.data.isEmpty()) {
        const QString why = read == Utils::ReadStatus::Read ? QStringLiteral("empty")
                                                            : Utils::readStatusText(read, rcvRecovery::MAX_FILE_SIZE);
        writeLogMsg(LOG_FAILURE, QStringLiteral("scan file refused: %1").arg(why));
        return false;
    }
    return true;
}

bool fpga_manage::step_load_scan()
{
    LoadScanJob &j = m_scan;
    report_elapsed();
    switch (j.step) {
    case LoadScanStep::Open:
        if (!open_scan_file(j)) {
            finish_job();
            return false;
        }
        if (!search_line_port(!j.data.isEmpty(), j.port))
            return false;
        j.step = LoadScanStep::Count;
        return true;
    case LoadScanStep::Count: {
        int count;
        if (!line_cards(&count))
            return false;
        j.offset = 0;
        j.step = LoadScanStep::Send;
        return true;
    }
    case LoadScanStep::Send: {
        const QByteArray chunk = j.data.mid(j.offset, 256);
        if (!exchange_started(j.port, m_cmd->load_scan(j.port, u32(j.offset), u32(j.data.size()), chunk, ticks()))) {
            finish_job();
            return false;
        }
        j.step = LoadScanStep::Reply;
        return true;
    }
    case LoadScanStep::Reply: {
        const Poll r = poll_exchange();
        if (r == Poll::Pending)
            return false;
        if (r == Poll::TimedOut || m_ex.status != 0) {
            writeLogMsg(LOG_FAILURE, QStringLiteral("scan data not taken on port %1").arg(j.port + 1));
            finish_job();
            return false;
        }
        j.offset += 256;
        if (j.offset >= j.data.size()) {
            finish_job();
            return false;
        }
        j.step = LoadScanStep::Send;
        return true;
    }
    }
    return false;
}
