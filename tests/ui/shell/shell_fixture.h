#ifndef QEL_TESTS_UI_SHELL_SHELL_FIXTURE_H
#define QEL_TESTS_UI_SHELL_SHELL_FIXTURE_H

#include "core/config_engine.h"
#include "core/global.h"
#include "tests/support/widget_helpers.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/option.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui/shell/syncupdate.h"
#include "ui/shell/tip.h"

// The shell as main() leaves it: the screens registered, parameter store,
// refresh, main menu, home screen and touch reader, on a temporary device root.
struct Shell
{
    TestRoot root;
    MainWindow *w = nullptr;
    LockWindow *home = nullptr;

    Shell()
    {
        register_screens();
        QelRamPara::pInstance();
        SyncUpdate::pInstance();
        w = new MainWindow();
        lcd_touch::pInstance();
        home = new LockWindow();
        w->show();
        home->show();
        g_page_focus = PAGE_HOME;
        c331_manage::para_update = 0;
    }
    ~Shell()
    {
        // a test that failed inside a modal run may leave screens open
        delete g_option;
        delete home;
        delete w;
        lcd_touch::destroyInstance();
        SyncUpdate::destroyInstance();
        QelRamPara::destroyInstance();
        c331_manage::para_update = 0;
        g_page_focus = 0;
    }

    // n ticks pass without a touch, the 10 ms tick running at the end.
    void idle(unsigned n)
    {
        TestEnv::advanceTicks(n);
        w->slot_update_timer_ticks();
    }

    // Opens the settings menu from the main menu and runs fn inside its modal
    // run; Back closes the menu afterwards when fn left it open.
    void inSettings(std::function<void(QWidget *)> fn)
    {
        w->show_menu();
        const auto menu = onModal([fn](QWidget *m) {
            fn(m);
            if (g_option)
                QTest::mouseClick(child<QPushButton>(g_option, "Button_back"), Qt::LeftButton);
        });
        click(w, "Button_setting");
    }
};

#endif
