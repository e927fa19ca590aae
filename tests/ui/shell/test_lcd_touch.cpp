#include "tests/ui/shell/shell_fixture.h"
#include "ui/shell/qroundprogressbar.h"

class TestLcdTouch : public QObject
{
    Q_OBJECT

private slots:
    void idleReturnClosesTheOpenChainDownToTheMainMenu()
    {
        Shell s;
        g_back_to_mainwindow_time = 3000;
        s.w->show_menu();
        s.w->mode_window_show();
        bool codeAccepted = true;
        bool keypadShown = false;
        onModal([&](QWidget *) {
            // settings menu, then the keypad over it
            onModal([&](QWidget *k) {
                keypadShown = k == g_numberkeyboard && k->isVisible();
                s.idle(2998);   // one tick short
                QVERIFY(g_numberkeyboard->isVisible() && g_option);
                s.idle(1);
            });
            codeAccepted = g_option->ask_access_code();
        });
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QVERIFY(keypadShown);
        QVERIFY(!codeAccepted);
        QVERIFY(!g_numberkeyboard->isVisible());
        QVERIFY(!g_option);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));

        // on the main menu the idle return closes the user-mode pop-up
        QTest::mouseClick(child<QPushButton>(s.w, "Button_mode"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(s.w, "mode_slot_2"), Qt::LeftButton);
        s.idle(2998);
        QVERIFY(s.w->mode_window_open());
        s.idle(1);
        QVERIFY(!s.w->mode_window_open());
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }

    void testPatternStaysAndTheHomeScreenIsLeftAlone()
    {
        Shell s;
        g_back_to_mainwindow_time = 3000;
        s.idle(5000);
        QCOMPARE(int(g_page_focus), int(PAGE_HOME));   // the home screen is no menu to leave

        s.w->show_menu();
        onModal([&](QWidget *) {
            g_page_focus = PAGE_TEST_PATTERN;   // a pattern screen over the settings menu
            s.idle(10000);
            QVERIFY(g_option);
            QCOMPARE(int(g_page_focus), int(PAGE_TEST_PATTERN));
            g_page_focus = PAGE_SETTINGS;
            QTest::mouseClick(child<QPushButton>(g_option, "Button_back"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QVERIFY(!g_option);
    }

    void noIdleTimeWhileTheRingShows()
    {
        Shell s;
        g_back_to_mainwindow_time = 3000;
        s.w->show_menu();
        onModal([&](QWidget *m) {
            QRoundProgressBar::create_qround_bar(qobject_cast<QDialog *>(m));
            QVERIFY(g_qround_bar);
            s.idle(40000);
            QVERIFY(g_option);
            QVERIFY(!lcd_touch::key_locked());
            QRoundProgressBar *ring = g_qround_bar;
            ring->para_sync(100);
            s.idle(2990);
            QVERIFY(g_option);   // the count starts when the ring goes
            s.idle(10);
            QVERIFY(!g_option);
        });
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QVERIFY(!g_option);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }

    void autoLockShowsTheHomeScreenAndCountsFromTheLastTouch()
    {
        Shell s;
        g_back_to_mainwindow_time = 3000;
        g_back_to_mainwindow_time = 18000;
        g_auto_lock_time = 30000;
        s.w->show_menu();

        s.idle(20000);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));   // idle return ran; no lock yet
        // a touch restarts the count
        QTest::mouseClick(child<QWidget>(s.w, "label_title"), Qt::LeftButton);
        s.w->slot_update_timer_ticks();
        s.idle(29990);
        QVERIFY(!lcd_touch::key_locked());
        s.idle(10);
        QVERIFY(lcd_touch::key_locked());
        QCOMPARE(int(g_page_focus), int(PAGE_HOME));
        QVERIFY(s.home->isVisible());

        // 120000 turns only the auto-lock off
        lcd_touch::p_lcd_touch->set_key_lock(false);
        QTest::mouseClick(s.home, Qt::LeftButton, Qt::NoModifier, QPoint(400, 60));
        s.w->slot_update_timer_ticks();
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
        g_auto_lock_time = 120000;
        s.w->mode_window_show();
        s.idle(200000);
        QVERIFY(!lcd_touch::key_locked());
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
        QVERIFY(!s.w->mode_window_open());   // the idle return still ran
    }

    void noLockWhileAScreenStaysOpen()
    {
        Shell s;
        g_back_to_mainwindow_time = 3000;
        g_auto_lock_time = 30000;
        s.w->show_menu();
        onModal([&](QWidget *) {
            g_page_focus = PAGE_TEST_PATTERN;
            s.idle(40000);
            QVERIFY(!lcd_touch::key_locked());
            g_page_focus = PAGE_SETTINGS;
            s.idle(1);   // the pattern screen has gone: now the chain closes and the panel locks
        });
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QVERIFY(!g_option);
        QVERIFY(lcd_touch::key_locked());
        QCOMPARE(int(g_page_focus), int(PAGE_HOME));
    }
};

QTEST_MAIN(TestLcdTouch)
#include "test_lcd_touch.moc"
