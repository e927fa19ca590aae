#ifndef QEL_CORE_SIM_WATCHER_H
#define QEL_CORE_SIM_WATCHER_H

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include "core/sim_config.h"

// Watches "<QEL_ROOT>/sim.json" on the GUI thread and applies a changed
// description to the running simulation through the simulated devices' own
// setters: input signals (the input manager raises refresh code 12 on its
// next pass), FPGA states and versions, cards and their replies. Only the
// parts that changed are applied. A missing file or one that does not parse
// leaves the device as it is. The watch survives atomic replaces.
class SimWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SimWatcher(QObject *parent = nullptr);

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
    SimConfig m_current;
    int m_applied = 0;
};

#endif
