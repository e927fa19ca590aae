#include "tests/ui/shell/shell_fixture.h"
#include "tests/ui/shell/stub_screen.h"
#include "ui/shell/qroundprogressbar.h"

namespace {
struct IdleShell : Shell
{
    IdleShell() { g_back_to_mainwindow_time = 3000; }
};

void setTiming(int slot, u16 w, u16 h, u8 rate)
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    const int o = Img::INPUT_TIMING + Img::INPUT_TIMING_SIZE * slot;
    p->set_u16(o, w);
    p->set_u16(o + 2, h);
    p->ram_para[o + 4] = rate;
}
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
            const auto keypad = onModal([&](QWidget *k) {
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
        addStubs<PAGE_EDID, PAGE_INPUT_CROP, PAGE_INPUT_CHOICE, PAGE_LAYOUT, PAGE_USER_MODE, PAGE_TEST_PATTERN>();
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

    // A screen whose Back is refused while a job runs on it keeps the panel:
    // its page stays, and so does the settings menu under it.
    void aScreenThatStaysOpenKeepsItsPage()
    {
        IdleShell s;
        s.inSettings([&](QWidget *) {
            QRoundProgressBar::create_qround_bar(ScreenRegistry::find(PAGE_SMART_MAPPING)->create());
            lcd_touch::auto_timeout_back();
            QVERIFY(ScreenRegistry::is_open(PAGE_SMART_MAPPING) && g_option);
            QCOMPARE(int(g_page_focus), int(PAGE_SMART_MAPPING));
            g_qround_bar->para_sync(100);   // the job ends: its Back returns to the menu
            ScreenRegistry::back(PAGE_SMART_MAPPING);
            QVERIFY(!ScreenRegistry::is_open(PAGE_SMART_MAPPING) && g_option);
            QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
        });
        delete ScreenRegistry::instance(PAGE_SMART_MAPPING);   // left by a failed check
    }

    void autoLockShowsTheHomeScreenAndCountsFromTheLastTouch()
    {
        Shell s;   // idle return after 18000 ticks, auto-lock after 30000
        s.w->show_menu();
        s.idle(20000);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));   // idle return ran, no lock yet
        QTest::mouseClick(child<QWidget>(s.w, "label_title"), Qt::LeftButton);   // restarts the count
        s.idle(29990);
        QVERIFY(!lcd_touch::key_locked());
        s.idle(10);
        QVERIFY(lcd_touch::key_locked() && s.home->isVisible());
        QCOMPARE(int(g_page_focus), int(PAGE_HOME));

        // 120000 turns only the auto-lock off
        lcd_touch::p_lcd_touch->set_key_lock(false);
        QTest::mouseClick(s.home, Qt::LeftButton, Qt::NoModifier, QPoint(400, 60));   // a touch opens the menu
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
        QVERIFY(!s.home->isVisible() && s.w->isVisible());
        g_auto_lock_time = 120000;
        s.w->mode_window_show();
        s.idle(200000);   // the idle return still closes the pop-up
        QVERIFY(!lcd_touch::key_locked() && !s.w->mode_window_open());
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }

    void showsTheInputSignalsInPanelOrder()
    {
        Shell s;
        setTiming(2, 1920, 1080, 60);   // HDMI1, HDMI4, DVI; EXT without a rate, HDMI2 without a width: no signal
        setTiming(5, 3840, 2160, 30);
        setTiming(1, 1280, 720, 60);
        setTiming(0, 1024, 768, 0);
        setTiming(3, 0, 1080, 60);
        SyncUpdate::p_syncupdate->para_sync(12);   // the home screen repaints on refresh
        QStringList shown;   // panel order: HDMI1..4, DVI, EXT
        for (const char *name : {"label_HDMI1", "label_HDMI2", "label_HDMI3", "label_HDMI4", "label_DVI", "label_EXT"})
            shown << res(s.home, name).remove(QStringLiteral(":/png/"));
        QCOMPARE(shown, QStringList({"HDMI13_lv.png", "HDMI13.png", "HDMI20.png", "HDMI20_lv.png", "dvilv.png", "HDMI.png"}));
        QCOMPARE(labelText(s.home, "label_info_HDMI4") + '|' + labelText(s.home, "label_info_EXT"),
                 QStringLiteral("3840×2160@30|No signal"));
        // the signal goes away; the language changes with the next refresh
        setTiming(2, 0, 0, 0);
        QelRamPara::p_qelrampara_config->ram_para[Img::LANGUAGE] = 0;
        SyncUpdate::p_syncupdate->para_sync(1);
        QCOMPARE(res(s.home, "label_HDMI1"), QStringLiteral(":/png/HDMI13.png"));
        QCOMPARE(labelText(s.home, "label_info_HDMI1"), QString::fromUtf8("无信号"));
    }

    void holdingTheLockLiftsTheKeyLock()
    {
        Shell s;
        s.w->show_home();
        lcd_touch::p_lcd_touch->set_key_lock(true);
        QPushButton *lock = child<QPushButton>(s.home, "Button_lock");
        QVERIFY(lock->property("locked").toBool());
        // released too early: still locked, and still home
        QTest::mousePress(lock, Qt::LeftButton);
        s.idle(150);
        QTest::mouseRelease(lock, Qt::LeftButton);
        s.idle(100);
        QVERIFY(lcd_touch::key_locked());
        QCOMPARE(int(g_page_focus), int(PAGE_HOME));
        QTest::mousePress(lock, Qt::LeftButton);
        s.idle(198);
        QVERIFY(lcd_touch::key_locked());
        s.idle(1);
        QVERIFY(!lcd_touch::key_locked() && !lock->property("locked").toBool());
        QTest::mouseRelease(lock, Qt::LeftButton);
        // the release that ends the hold stays on the home screen, its hint no longer the lock's
        QCOMPARE(int(g_page_focus), int(PAGE_HOME));
        QVERIFY(s.home->isVisible());
        QCOMPARE(labelText(s.home, "label_hint"), QStringLiteral("Touch the screen to open the menu"));
        click(s.home, "Button_lock");   // a short touch on the open lock is a touch like any other
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }
};

QTEST_MAIN(TestLcdTouch)
#include "test_lcd_touch.moc"
