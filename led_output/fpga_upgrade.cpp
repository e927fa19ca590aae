#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTime>
#include <algorithm>

#include "core/logmsg.h"
#include "core/refresh_codes.h"
#include "core/utils.h"
#include "led_output/fpga_manage.h"
#include "led_output/locked_copy.h"

// The USB upgrade: the packages of the stick's upgrade folder go to
// "/data/app/" on the manager's thread, one a pass.

namespace {
QString clockText()
{
    QTime t;
    {
        std::lock_guard<std::recursive_mutex> lock(Utils::_system_mutex);
        t = QTime::currentTime();
    }
    return QStringLiteral("%1:%2:%3").arg(t.hour()).arg(t.minute()).arg(t.second());
}
}

QString fpga_manage::upgrade_times() const { return lockedCopy(m_result_mutex, usb_upgrade_times); }

void fpga_manage::set_upgrade_times(const QString &text)
{
    std::lock_guard<std::mutex> lock(m_result_mutex);
    usb_upgrade_times = text;
}

fpga_manage::UpgradeResult fpga_manage::upgrade_result() const
{
    return lockedCopy(m_result_mutex, m_upgrade_result);
}

// Reboots only when every package listed went in. The first that does not
// (unwritable, or gone with the stick) ends the upgrade: what is left is not
// tried, and the device keeps running the program it has.
void fpga_manage::usb_upgrade_deal()
{
    switch (g_send_para.state()) {
    case 0:
        if (!g_update_flag.load())
            emit sig_update_start();
        set_upgrade_times(clockText());
        g_update_flag = 1;
        g_send_para.set_state(1);
        break;
    case 1:
        m_upgrade_files = list_upgrade_files();
        m_upgrade_index = 0;
        m_upgrade_failed.clear();
        g_send_para.set_state(2);
        break;
    case 2:
        // one package a pass, so the LED hand-over keeps being served
        if (m_upgrade_index < m_upgrade_files.size()) {
            const QString &package = m_upgrade_files.at(m_upgrade_index);
            if (!install_package(package)) {
                m_upgrade_failed = QFileInfo(package).fileName();
                g_send_para.set_state(3);
                break;
            }
            ++m_upgrade_index;
            break;
        }
        g_send_para.set_state(3);
        break;
    default: {
        UpgradeResult result;
        result.complete = !m_upgrade_files.isEmpty() && m_upgrade_failed.isEmpty();
        result.failed = m_upgrade_failed;
        {
            std::lock_guard<std::mutex> lock(m_result_mutex);
            m_upgrade_result = result;
        }
        set_upgrade_times(upgrade_times() + QStringLiteral("    ") + clockText());
        if (g_update_flag.load())
            emit sig_update_over();
        refresh(REFRESH_UPGRADE_DONE);
        g_update_flag = 0;
        g_send_para.set_state(0);
        g_usb_grade.store(0, std::memory_order_release);
        if (result.complete) {
            int status = 0;
            Utils::system_mutex(QStringLiteral("reboot"), &status);
        }
        m_upgrade_files.clear();
        break;
    }
    }
}

QStringList fpga_manage::list_upgrade_files() const { return upgrade_package_list(); }

QVector<fpga_manage::UpgradeFile> fpga_manage::upgrade_file_list()
{
    QString dir = QStringLiteral("/mnt/usb1/");
    const QString sub = g_usb_grade_path.get();
    if (sub != QLatin1String(" "))
        dir += sub;
    const QString base = QDir::cleanPath(Utils::devicePath(QStringLiteral("/mnt/usb1/")));
    const QString folder = QDir::cleanPath(Utils::devicePath(dir));
    const QString canonBase = QFileInfo(base).canonicalFilePath();
    const QString canonFolder = QFileInfo(folder).canonicalFilePath();
    if (!path_below(folder, base) || canonBase.isEmpty() || canonFolder.isEmpty() || !path_below(canonFolder, canonBase)) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("upgrade folder refused"));
        return {};
    }
    // name order ignoring case, as the USB page lists and marks them
    QFileInfoList entries = QDir(canonFolder).entryInfoList(QDir::Files | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    std::sort(entries.begin(), entries.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const int c = a.fileName().compare(b.fileName(), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.fileName() < b.fileName();
    });
    QVector<UpgradeFile> listed;
    bool qelTaken = false;
    for (const QFileInfo &fi : entries) {
        if (listed.size() >= UPGRADE_LIST_MAX)
            break;
        if (fi.isSymLink() || !fi.isFile())
            continue;
        const QString suffix = fi.suffix();
        if (suffix == QLatin1String("QEL")) {
            listed.append({fi.absoluteFilePath(), !qelTaken});
            qelTaken = true;
        } else if (suffix == QLatin1String("QELZK")) {
            listed.append({fi.absoluteFilePath(), true});
        }
    }
    return listed;
}

QStringList fpga_manage::upgrade_package_list()
{
    QStringList chosen;
    for (const UpgradeFile &f : upgrade_file_list())
        if (f.install)
            chosen.append(f.path);
    return chosen;
}

// Copies one package into "/data/app/" under its own name, atomically.
bool fpga_manage::install_package(const QString &source) const
{
    const QFileInfo src(source);
    const QString name = src.fileName();
    if (src.isSymLink() || !src.isFile() || name.isEmpty() || name == QLatin1String(".")
        || name == QLatin1String("..") || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("package refused: %1").arg(name));
        return false;
    }
    const QDir app(Utils::devicePath(QStringLiteral("/data/app/")));
    if (!QDir().mkpath(app.absolutePath()))
        return false;
    const QString target = app.absoluteFilePath(name);
    if (QFileInfo(target).absolutePath() != app.absolutePath())
        return false;
    if (QFileInfo(target).isSymLink())
        QFile::remove(target);   // the save would follow it
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("package not installed: %1").arg(name));
        return false;
    }
    QByteArray buf;
    while (!(buf = in.read(64 * 1024)).isEmpty()) {
        if (out.write(buf) != buf.size()) {
            out.cancelWriting();
            writeLogMsg(LOG_FAILURE, QStringLiteral("package write failed: %1").arg(name));
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError || !out.commit()) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("package not committed: %1").arg(name));
        return false;
    }
    // the rename survives a power cut only once the folder is on disk
    if (!Utils::syncFolder(app.absolutePath())) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("package folder not flushed: %1").arg(name));
        return false;
    }
    return true;
}
