#include "core/sim_watcher.h"

#include <QFileInfo>

#include "core/logmsg.h"
#include "core/utils.h"

namespace {
constexpr int kSettleMs = 50;
}

SimWatcher::SimWatcher(QObject *parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &SimWatcher::reload);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
}

void SimWatcher::add_applier(Applier apply) { m_appliers.push_back(std::move(apply)); }

void SimWatcher::start()
{
    m_current = SimConfig::load();
    rearm();
}

// A rename over the file drops its watch; the folder's watch sees the new
// one arrive.
void SimWatcher::rearm()
{
    const QString file = Utils::devicePath(QStringLiteral("/sim.json"));
    const QString folder = QFileInfo(file).absolutePath();
    if (!m_watcher.directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher.addPath(folder);
    if (!m_watcher.files().contains(file) && QFileInfo(file).isFile())
        m_watcher.addPath(file);
}

void SimWatcher::reload()
{
    rearm();
    const SimConfig cfg = SimConfig::load();
    if (!cfg.loaded)
        return;
    bool changed = false;
    for (const Applier &apply : m_appliers)
        changed = apply(m_current, cfg) || changed;
    m_current = cfg;
    if (!changed)
        return;
    ++m_applied;
    writeLogMsg(LOG_NOTICE, QStringLiteral("sim.json changed: simulated device updated"));
    emit sig_applied();
}
