#include "tests/ui/shell/shell_fixture.h"
#include "tests/ui/shell/stub_screen.h"
#include "ui/shell/qroundprogressbar.h"

namespace {
// The shell with a 3000-tick idle return.
struct IdleShell : Shell
{
    IdleShell() { g_back_to_mainwindow_time = 3000; }
};
}

class TestLcdTouch : public QObject
{
    Q_OBJECT

private slots:
    void idleReturnClosesTheOpenChainDownToTheMainMenu()
    {
        IdleShell s;
        bool codeAccepted = true;
        bool keypadShown = false;
        s.inSettings([&](QWidget *) {
            // the keypad over the settings menu
            onModal([&](QWidget *k) {
                keypadShown = k == g_numberkeyboard && k->isVisible();
                s.idle(2000);
                // a finger on the settings menu beside the keypad, which the keypad blocks
                QWindow *blocked = g_option->windowHandle();
                QTest::mousePress(blocked, Qt::LeftButton, Qt::NoModifier, QPoint(100, 300));
                s.idle(1);
                QTest::mouseRelease(blocked, Qt::LeftButton, Qt::NoModifier, QPoint(100, 300));
                s.idle(2997);   // one tick short of the count from that touch
                QVERIFY(g_numberkeyboard->isVisible() && g_option);
                s.idle(1);
            });
            codeAccepted = g_option->ask_access_code();
        });
        QVERIFY(keypadShown && !codeAccepted && !g_numberkeyboard->isVisible() && !g_option);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }

    // Through the registry, from the top down: EDID, crop, input choice,
    // layout, the focused page, then the settings menu and the pop-up.
    void idleReturnBacksRegisteredScreensTopDown()
    {
        IdleShell s;
        StubScreen<PAGE_EDID>::add();
        StubScreen<PAGE_INPUT_CROP>::add();
        StubScreen<PAGE_INPUT_CHOICE>::add();
        StubScreen<PAGE_LAYOUT>::add();
        StubScreen<PAGE_USER_MODE>::add();
        StubScreen<PAGE_TEST_PATTERN>::add();
        g_option = new Option;
        s.w->mode_window_show();
        for (u8 page : {PAGE_TEST_PATTERN, PAGE_USER_MODE, PAGE_LAYOUT, PAGE_INPUT_CHOICE, PAGE_INPUT_CROP, PAGE_EDID})
            ScreenRegistry::find(page)->create();
        g_page_focus = PAGE_USER_MODE;
        s.idle(3000);
        QCOMPARE(stubLog(), QStringList({"back 8", "back 7", "back 3", "back 9", "back 4"}));
        QVERIFY(!g_option && !s.w->mode_window_open());
        QVERIFY(StubScreen<PAGE_TEST_PATTERN>::global);   // never closed by the idle return
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
        delete StubScreen<PAGE_TEST_PATTERN>::global;
        ScreenRegistry::clear();
        register_screens();
    }

    // No idle return and no lock while the test pattern page (16) or the
    // progress ring is open; the count starts when they go. The home screen
    // is no menu to leave.
    void patternAndRingHoldOffIdleAndLock()
    {
        IdleShell s;
        s.idle(5000);
        QCOMPARE(int(g_page_focus), int(PAGE_HOME));
        s.inSettings([&](QWidget *m) {
            QRoundProgressBar::create_qround_bar(qobject_cast<QDialog *>(m));
            s.idle(40000);
            QVERIFY(g_qround_bar && g_option && !lcd_touch::key_locked());
            g_qround_bar->para_sync(100);
            s.idle(2990);
            QVERIFY(g_option);
            s.idle(10);
            QVERIFY(!g_option);
        });
        s.inSettings([&](QWidget *) {
            g_page_focus = PAGE_TEST_PATTERN;   // a pattern screen over the settings menu
            s.idle(40000);
            QVERIFY(g_option && g_page_focus == PAGE_TEST_PATTERN && !lcd_touch::key_locked());
            g_page_focus = PAGE_SETTINGS;
            s.idle(1);   // the pattern screen has gone: now the chain closes and the panel locks
        });
        QVERIFY(!g_option && lcd_touch::key_locked());
        QCOMPARE(int(g_page_focus), int(PAGE_HOME));
    }

    void autoLockShowsTheHomeScreenAndCountsFromTheLastTouch()
    {
        Shell s;   // idle return after 18000 ticks, auto-lock after 30000
        s.w->show_menu();
        s.idle(20000);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));   // idle return ran, no lock yet
        // a touch restarts the count
        QTest::mouseClick(child<QWidget>(s.w, "label_title"), Qt::LeftButton);
        s.idle(29990);
        QVERIFY(!lcd_touch::key_locked());
        s.idle(10);
        QVERIFY(lcd_touch::key_locked() && s.home->isVisible());
        QCOMPARE(int(g_page_focus), int(PAGE_HOME));

        // 120000 turns only the auto-lock off
        lcd_touch::p_lcd_touch->set_key_lock(false);
        QTest::mouseClick(s.home, Qt::LeftButton, Qt::NoModifier, QPoint(400, 60));
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
        g_auto_lock_time = 120000;
        s.w->mode_window_show();
        s.idle(200000);
        // the idle return still closes the pop-up
        QVERIFY(!lcd_touch::key_locked() && !s.w->mode_window_open());
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }
};

QTEST_MAIN(TestLcdTouch)
#include "test_lcd_touch.moc"
