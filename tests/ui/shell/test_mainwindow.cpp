#include <QFrame>
#include <QLabel>
#include <thread>

#include "led_output/fpga_manage.h"
#include "tests/ui/shell/shell_fixture.h"

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void settingsMenuOpensAndClosesByItsButtons()
    {
        Shell s;
        s.w->show_menu();
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
        QVERIFY(!s.home->isVisible());
        QVERIFY(g_numberkeyboard && g_tip);
        QCOMPARE(g_numberkeyboard->geometry(), QRect(420, 0, 380, 480));

        bool seen = false;
        onModal([&](QWidget *m) {
            seen = m && m == g_option && g_page_focus == PAGE_SETTINGS && m->isVisible();
            QTest::mouseClick(child<QPushButton>(m, "Button_back"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QVERIFY(seen);
        QVERIFY(!g_option);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));

        // screens that are not built yet: their openers stay disabled
        for (const char *name : {"custommode", "machinestate"}) {
            QPushButton *b = child<QPushButton>(s.w, name);
            QVERIFY2(b && !b->isEnabled(), name);
        }

        // the back arrow goes to the home screen
        QTest::mouseClick(child<QPushButton>(s.w, "Button_home"), Qt::LeftButton);
        QCOMPARE(int(g_page_focus), int(PAGE_HOME));
        QVERIFY(s.home->isVisible());
    }

    void keyLockRefusesTheMenusAndPopup()
    {
        Shell s;
        s.w->show_menu();
        lcd_touch::p_lcd_touch->set_key_lock(true);
        QVERIFY(child<QLabel>(s.w, "label_lock")->isVisibleTo(s.w));

        // were it to open, the modal run would be closed here and noticed
        bool opened = false;
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [&] {
            if (g_option) {
                opened = true;
                g_option->on_Button_back_clicked();
            }
        });
        guard.start(0);
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(s.w, "Button_mode"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QVERIFY(!s.w->mode_window_open());
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));

        lcd_touch::p_lcd_touch->set_key_lock(false);
        QVERIFY(!child<QLabel>(s.w, "label_lock")->isVisibleTo(s.w));
        QTest::mouseClick(child<QPushButton>(s.w, "Button_mode"), Qt::LeftButton);
        QVERIFY(s.w->mode_window_open());
    }

    void userModePopupNamesChoosesAndAsksToSave()
    {
        Shell s;
        s.root.write(QStringLiteral("/data/configs/alias.json"),
                     R"({"namelist":{"usermode":[{"id":3,"valid":"on","name":"Stage & Hall"},
                                                 {"id":4,"valid":"off","name":"Hidden"}]}})");
        QelRamPara *p = QelRamPara::p_qelrampara_config;
        p->user_mode[1].flag[0] = p->user_mode[1].flag[1] = 0xAA;
        s.w->show_menu();
        QTest::mouseClick(child<QPushButton>(s.w, "Button_mode"), Qt::LeftButton);
        QVERIFY(s.w->mode_window_open());

        QCOMPARE(child<QPushButton>(s.w, "mode_slot_0")->text(), QStringLiteral("Mode 1"));
        QCOMPARE(child<QPushButton>(s.w, "mode_slot_3")->text(), QStringLiteral("Stage && Hall"));
        QCOMPARE(child<QPushButton>(s.w, "mode_slot_4")->text(), QStringLiteral("Mode 5"));
        QVERIFY(child<QPushButton>(s.w, "mode_slot_1")->property("saved").toBool());
        QVERIFY(!child<QPushButton>(s.w, "mode_slot_2")->property("saved").toBool());

        QTest::mouseClick(child<QPushButton>(s.w, "mode_slot_6"), Qt::LeftButton);
        QCOMPARE(int(g_mode_select), 6);
        QVERIFY(child<QPushButton>(s.w, "mode_slot_6")->styleSheet().contains("#4777FF"));
        QVERIFY(!child<QPushButton>(s.w, "mode_slot_0")->styleSheet().contains("#4777FF"));

        QTest::mouseClick(child<QPushButton>(s.w, "Button_mode_save"), Qt::LeftButton);
        QCOMPARE(p->get_u16(Img::SAVE_MODE_REQUEST), u16(7));
        QCOMPARE(int(c331_manage::para_update), 1);

        g_language = 2;
        s.w->language_changed();
        QCOMPARE(child<QPushButton>(s.w, "mode_slot_0")->text(), QStringLiteral("Режим 1"));
        QCOMPARE(child<QLabel>(s.w, "label_title")->text(), QStringLiteral("Главное меню"));
        g_lcd_lang_valid = 0x1B;   // Russian not allowed: English stands in
        s.w->language_changed();
        QCOMPARE(child<QLabel>(s.w, "label_title")->text(), QStringLiteral("Main menu"));

        // an opener first closes the pop-up
        onModal([](QWidget *m) { QTest::mouseClick(child<QPushButton>(m, "Button_back"), Qt::LeftButton); });
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QVERIFY(!s.w->mode_window_open());
        QTest::mouseClick(child<QPushButton>(s.w, "Button_mode"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(s.w, "Button_mode_close"), Qt::LeftButton);
        QVERIFY(!s.w->mode_window_open());
    }

    void updateOverlayComesQueuedFromTheFpgaThread()
    {
        Shell s;
        fpga_manage *fpga = fpga_manage::pInstance();
        s.w->connect_fpga_manage();
        s.w->connect_fpga_manage();   // once only
        std::thread worker([fpga] { emit fpga->sig_update_start(); });
        worker.join();
        QVERIFY(!s.w->update_overlay());   // not before the GUI loop runs
        QTRY_VERIFY(s.w->update_overlay() && s.w->update_overlay()->isVisible());
        QCOMPARE(s.w->update_overlay()->geometry(), QRect(0, 0, 800, 480));
        QPointer<FirmwareUpdate> shown = s.w->update_overlay();
        s.w->update_start();   // a second request keeps the one overlay
        QCOMPARE(s.w->update_overlay(), shown.data());

        std::thread worker2([fpga] { emit fpga->sig_update_over(); });
        worker2.join();
        QTRY_VERIFY(!s.w->update_overlay());
        QTRY_VERIFY(!shown);
        s.w->update_over();   // nothing to close
        fpga_manage::destroyInstance();
    }

    void tickCountsAndHidesTheTip()
    {
        Shell s;
        const u32 t0 = G_timeTicks;
        s.w->slot_update_timer_ticks();
        QCOMPARE(u32(G_timeTicks), t0 + 1);
        g_tip->tip_create(1);
        QVERIFY(g_tip->isVisible());
        s.idle(150);
        QVERIFY(g_tip->isVisible());
        s.idle(150);
        QVERIFY(!g_tip->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
