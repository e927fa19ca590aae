#include "bench/bench.h"
#include "core/global.h"
#include "core/qelrampara.h"
#include "tests/support/testenv.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/screens.h"
#include "ui/shell/syncupdate.h"

namespace {
// The shell on the main menu with nothing to do.
struct IdleShell
{
    TestRoot root;
    MainWindow *w;
    LockWindow *home;
    IdleShell()
    {
        QelRamPara::pInstance();
        SyncUpdate::pInstance();
        w = new MainWindow();
        lcd_touch::pInstance();
        home = new LockWindow();
        w->show_menu();
    }
    ~IdleShell()
    {
        delete home;
        delete w;
        lcd_touch::destroyInstance();
        SyncUpdate::destroyInstance();
        QelRamPara::destroyInstance();
    }
};
}

QEL_BENCH("shell idle tick")
{
    IdleShell s;
    // well inside the idle and auto-lock times: the common case
    return benchTime(200000, [&] {
        s.w->slot_update_timer_ticks();
        if (lcd_touch::p_lcd_touch->idle_ticks() > 1000)
            lcd_touch::p_lcd_touch->touched();
    });
}

QEL_BENCH("para_sync, no change")
{
    IdleShell s;
    SyncUpdate *sync = SyncUpdate::p_syncupdate;
    sync->para_sync(1);
    return benchTime(20000, [&] { sync->para_sync(1); });
}
