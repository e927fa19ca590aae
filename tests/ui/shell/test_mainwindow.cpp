#include <thread>

#include "led_output/fpga_manage.h"
#include "tests/ui/shell/shell_fixture.h"
#include "tests/ui/shell/stub_screen.h"

// The main menu, its user-mode pop-up and the settings menu.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        ScreenRegistry::clear();
        register_screens();
        stubLog().clear();
    }

    void keyLockRefusesTheMenusAndPopup()
    {
        Shell s;
        s.w->show_menu();
        lcd_touch::p_lcd_touch->set_key_lock(true);
        QVERIFY(child<QLabel>(s.w, "label_lock")->isVisibleTo(s.w));
        QVERIFY(!opensModal([&] { click(s.w, "Button_setting"); }));
        click(s.w, "Button_mode");
        QVERIFY(!g_option && !s.w->mode_window_open());
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));

        lcd_touch::p_lcd_touch->set_key_lock(false);
        QVERIFY(!child<QLabel>(s.w, "label_lock")->isVisibleTo(s.w));
        click(s.w, "Button_mode");
        QVERIFY(s.w->mode_window_open());
        click(s.w, "Button_home");   // the back arrow goes to the home screen
        QCOMPARE(int(g_page_focus), int(PAGE_HOME));
        QVERIFY(s.home->isVisible() && !s.w->mode_window_open());
        // the main window's tick hides a tip after its time
        g_tip->tip_create(1);
        s.idle(150);
        QVERIFY(g_tip->isVisible());
        s.idle(150);
        QVERIFY(!g_tip->isVisible());
    }

    void userModePopupNamesAndChooses()
    {
        Shell s;
        s.root.write("/data/configs/alias.json", R"({"namelist":{"usermode":[
                         {"id":3,"valid":"on","name":"Stage & Hall"}, {"id":4,"valid":"off","name":"Hidden"}]}})");
        QelRamPara *p = QelRamPara::p_qelrampara_config;
        p->user_mode[1].flag[0] = p->user_mode[1].flag[1] = 0xAA;
        s.w->show_menu();
        click(s.w, "Button_mode");
        auto slot = [&](int n) { return child<QPushButton>(s.w, QStringLiteral("mode_slot_%1").arg(n)); };
        // no shortcut made of '&'; a name switched off is not used
        QCOMPARE(slot(3)->text() + '|' + slot(4)->text(), QStringLiteral("Stage && Hall|MODE 5"));
        QVERIFY(slot(1)->property("saved").toBool() && !slot(2)->property("saved").toBool());
        g_language = 2;
        s.w->language_changed();
        QCOMPARE(slot(0)->text(), QStringLiteral("Слот 1"));

        // an opener first closes the pop-up; so does its Close
        const auto settings =
            onModal([](QWidget *m) { QTest::mouseClick(child<QPushButton>(m, "Button_back"), Qt::LeftButton); });
        click(s.w, "Button_setting");
        QVERIFY(!s.w->mode_window_open());
        click(s.w, "Button_mode");
        click(s.w, "Button_mode_close");
        QVERIFY(!s.w->mode_window_open());
    }

    // A screen joins with its registry entry alone: its menu button enables,
    // the opener and the refresh reach it; the settings menu likewise.
    void laterScreensJoinTheMenus()
    {
        Shell s;
        for (u8 page : {PAGE_USER_MODE, PAGE_STATUS})
            ScreenRegistry::remove(page);
        s.w->show_menu();
        QVERIFY(!child(s.w, "custommode")->isEnabled() && !child(s.w, "machinestate")->isEnabled());
        StubScreen<PAGE_USER_MODE>::add();
        s.w->show_menu();
        QVERIFY(child(s.w, "custommode")->isEnabled());
        lcd_touch::p_lcd_touch->set_key_lock(true);
        s.w->on_custommode_clicked();
        QVERIFY(!StubScreen<PAGE_USER_MODE>::global);
        lcd_touch::p_lcd_touch->set_key_lock(false);
        const auto userModes = onModal([&](QWidget *m) {
            QCOMPARE(m, static_cast<QWidget *>(StubScreen<PAGE_USER_MODE>::global));
            QCOMPARE(int(g_page_focus), int(PAGE_USER_MODE));
            SyncUpdate::pInstance()->para_sync(REFRESH_INPUTS);
            StubScreen<PAGE_USER_MODE>::global->on_Button_back_clicked();
        });
        click(s.w, "custommode");

        // a later entry replaces the network screen's
        StubScreen<PAGE_NETWORK>::add();
        s.inSettings([&](QWidget *m) {
            const QMap<QString, u8> pages{{"output_set", PAGE_OUTPUT},   {"input_cut", PAGE_INPUT_CROP},
                                          {"link_set", PAGE_NETWORK},    {"smart_mapping", PAGE_SMART_MAPPING}};
            for (auto it = pages.begin(); it != pages.end(); ++it)
                QVERIFY2(child(m, it.key())->isEnabled() == ScreenRegistry::registered(it.value()),
                         qPrintable(it.key()));
            const auto network = onModal([](QWidget *net) {
                QCOMPARE(net, static_cast<QWidget *>(StubScreen<PAGE_NETWORK>::global));
                ScreenRegistry::open(PAGE_NETWORK);   // no second screen while one shows
                StubScreen<PAGE_NETWORK>::global->on_Button_back_clicked();
            });
            click(m, "link_set");
        });
        QCOMPARE(stubLog(), QStringList({"refresh 4 12", "back 4", "back 10"}));

        // its tip after a refresh and its ageing redraw come from its entry too
        ScreenEntry later = screen_entry(200, StubScreen<200>::global);
        later.tip = [](int code) { return code == REFRESH_INPUTS ? 4 : 0; };
        later.ageing_tick = [] { stubLog() << QStringLiteral("ageing"); };
        ScreenRegistry::add(later);
        g_page_focus = 200;
        SyncUpdate::pInstance()->para_sync(REFRESH_INPUTS);
        QVERIFY(g_tip->isVisible() && g_tip->code() == 4);
        stubLog().clear();
        s.idle(fpga_manage::AGE_SAMPLE_TICKS + 1);
        s.idle(1);
        QCOMPARE(stubLog(), QStringList{"ageing"});   // once a period
    }

    // The window layout's access code, typed on the keypad: only "8888"
    // confirmed with OK opens.
    void accessCodeIsTypedOnTheKeypad()
    {
        Shell s;
        QStringList results;
        s.inSettings([&](QWidget *m) {
            Option *o = qobject_cast<Option *>(m);
            QVERIFY(o);
            const struct { QString typed; bool close; } runs[] = {
                {"8888", false}, {"1234", false}, {"88888", false}, {"", false}, {"8888", true}};
            for (const auto &run : runs) {
                const auto keypad = onModal([run](QWidget *k) {
                    if (!run.close)
                        return typeOnKeypad(run.typed);
                    for (QChar d : run.typed)
                        QTest::mouseClick(child<QPushButton>(k, QStringLiteral("Button_") + d), Qt::LeftButton);
                    QTest::mouseClick(child<QPushButton>(k, "Button_close"), Qt::LeftButton);
                });
                results << (o->ask_access_code() ? "open" : "refused");
                QVERIFY(!g_numberkeyboard->isVisible());
                QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
            }
            // a later entry, made for another screen, reaches no finished prompt
            emit g_numberkeyboard->sendKeyBoardUIDataToLineEdit(QStringLiteral("8888"));
        });
        QCOMPARE(results, QStringList({"open", "refused", "refused", "refused", "refused"}));
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }

    void updateOverlayComesQueuedFromTheFpgaThread()
    {
        Shell s;
        fpga_manage *fpga = fpga_manage::pInstance();
        s.w->connect_fpga_manage();
        std::thread([fpga] { emit fpga->sig_update_start(); }).join();
        QVERIFY(!s.w->update_overlay());   // not before the GUI loop runs
        QTRY_VERIFY(s.w->update_overlay() && s.w->update_overlay()->isVisible());
        QPointer<FirmwareUpdate> shown = s.w->update_overlay();
        s.w->update_start();   // a second request keeps the one overlay
        QCOMPARE(s.w->update_overlay(), shown.data());
        std::thread([fpga] { emit fpga->sig_update_over(); }).join();
        QTRY_VERIFY(!s.w->update_overlay() && !shown);
        fpga_manage::destroyInstance();
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
