#ifndef QEL_CORE_SIM_WATCHER_H
#define QEL_CORE_SIM_WATCHER_H

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

#include "core/sim_config.h"

// Watches "<QEL_ROOT>/sim.json" on the GUI thread and hands a changed
// description to the simulated devices' appliers, each of which applies its
// own part (input signals, FPGA states and versions, cards and their
// replies) through the device's setters, only where it changed. A missing
// file or one that does not parse leaves the device as it is. The watch
// survives atomic replaces.
class SimWatcher : public QObject
{
    Q_OBJECT
public:
    // A device's part: applies what differs between `was` and `now`;
    // returns whether it changed anything.
    using Applier = std::function<bool(const SimConfig &was, const SimConfig &now)>;

    explicit SimWatcher(QObject *parent = nullptr);

    void add_applier(Applier apply);
    // Starts from the description the managers were built with.
    void start();
    // Descriptions applied since start().
    int applied() const { return m_applied; }

signals:
    void sig_applied();

private:
    void rearm();
    void reload();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;   // one reload for a burst of events
    std::vector<Applier> m_appliers;
    SimConfig m_current;
    int m_applied = 0;
};

#endif
