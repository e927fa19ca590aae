#include <QTimer>

#include "core/qelrampara.h"
#include "core/sim_config.h"
#include "core/sim_watcher.h"
#include "core/utils.h"
#include "led_output/fpga_manage.h"
#include "remote/r58_wifi_config.h"
#include "remote/usbserver.h"
#include "scaler/c331_manage.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/panel_app.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/screens.h"
#include "ui/shell/syncupdate.h"
#include "video_io/tavixsource.h"

namespace {
constexpr int kTickMs = 10;

// The rest of the start-up, once the chips have settled (4 s; the simulated
// device's description may shorten it).
void start_panel(MainWindow *w)
{
    new LockWindow();
    w->show();
    if (g_lockwindow) {
        g_lockwindow->show();
        g_lockwindow->raise();
    }
    g_page_focus = PAGE_HOME;
    if (g_numberkeyboard)
        g_numberkeyboard->setGeometry(800 - 380, 0, 380, 480);

    QObject::connect(QelRamPara::pInstance(), &QelRamPara::sig_update_para, SyncUpdate::pInstance(),
                     &SyncUpdate::para_sync, Qt::QueuedConnection);
    UsbServer *usb = new UsbServer();
    QObject::connect(usb, &UsbServer::sig_usb_update, SyncUpdate::pInstance(), &SyncUpdate::para_sync,
                     Qt::QueuedConnection);
    usb->start();
    R58_WIFI_CONFIG::pInstance()->start();
}
}

int main(int argc, char *argv[])
{
    Utils::removeAtomicLeftovers();   // before anything saves
    PanelApp app(argc, argv);
    register_screens();
    MainWindow w;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &w, &MainWindow::slot_update_timer_ticks);
    tick.setTimerType(Qt::PreciseTimer);
    tick.start(kTickMs);

    tavixsource *source = tavixsource::pInstance();
    fpga_manage *fpga = fpga_manage::pInstance();
    c331_manage *scaler = c331_manage::pInstance();
    scaler->start();
    fpga->start();
    source->start();
    w.connect_fpga_manage();

    lcd_touch::pInstance();

    SimWatcher sim;
    sim.add_applier(&tavixsource::apply_sim);
    sim.add_applier(&fpga_manage::apply_sim);
    sim.start();

    QTimer::singleShot(SimConfig::load().settleMs, &w, [&w] { start_panel(&w); });
    return app.exec();
}
