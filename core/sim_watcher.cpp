#include "core/sim_watcher.h"

#include <QFileInfo>

#include "core/logmsg.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "video_io/tavixsource.h"

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
    if (tavixsource *src = tavixsource::p_tavix_source) {
        if (cfg.inputs != m_current.inputs) {
            SimInput signal[6];
            for (const SimInput &in : cfg.inputs)
                signal[in.slot] = in;
            for (int slot = 0; slot < 6; ++slot)
                src->sim().set_signal(slot, signal[slot].width, signal[slot].height, signal[slot].rate);
            changed = true;
        }
    }
    if (fpga_manage *m = fpga_manage::p_fpga_manage) {
        for (int f = 0; f < 2; ++f) {
            fpga_drv *d = m->fpga(f);
            if (d && !cfg.sameFpga(m_current, f)) {
                d->configure(cfg.fpgas[f], cfg.cards + fpga_drv::PORTS * f, cfg.cardReply + fpga_drv::PORTS * f);
                changed = true;
            }
        }
    }
    m_current = cfg;
    if (!changed)
        return;
    ++m_applied;
    writeLogMsg(LOG_NOTICE, QStringLiteral("sim.json changed: simulated device updated"));
    emit sig_applied();
}
