#include "tests/ui/shell/shell_fixture.h"
#include "tests/ui/shell/stub_screen.h"
#include "ui/input/inputchoose.h"
#include "ui/picture/imagelayout.h"

// The menus open the setting screens, the refresh reaches them and the idle
// return closes them from the top down.
class TestOpeners : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        ScreenRegistry::clear();
        register_screens();
        stubLog().clear();
    }

    // A screen joins with its registry entry alone: its menu button enables,
    // the opener, the refresh and the idle return reach it.
    void laterScreensJoinTheMenus()
    {
        Shell s;
        s.w->show_menu();
        for (u8 page : {PAGE_USER_MODE, PAGE_STATUS})
            ScreenRegistry::remove(page);
        s.w->show_menu();
        QVERIFY(!child(s.w, "custommode")->isEnabled() && !child(s.w, "machinestate")->isEnabled());
        StubScreen<PAGE_USER_MODE>::add();
        s.w->show_menu();
        QVERIFY(child(s.w, "custommode")->isEnabled());

        // refused under the key lock; otherwise the pop-up closes first
        lcd_touch::p_lcd_touch->set_key_lock(true);
        s.w->on_custommode_clicked();
        QVERIFY(!StubScreen<PAGE_USER_MODE>::global);
        lcd_touch::p_lcd_touch->set_key_lock(false);
        s.w->mode_window_show();
        onModal([&](QWidget *m) {
            QCOMPARE(m, static_cast<QWidget *>(StubScreen<PAGE_USER_MODE>::global));
            QCOMPARE(int(g_page_focus), int(PAGE_USER_MODE));
            QVERIFY(!s.w->mode_window_open());
            SyncUpdate::pInstance()->para_sync(REFRESH_INPUTS);
            s.idle(u32(g_back_to_mainwindow_time) + 1);
        });
        click(s.w, "custommode");
        QCOMPARE(stubLog(), QStringList({"refresh 4 12", "back 4"}));
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));

        // the settings menu: enabled exactly for the registered pages; a
        // later entry replaces the network screen's
        StubScreen<PAGE_NETWORK>::add();
        s.inSettings([&](QWidget *m) {
            const QMap<QString, u8> pages{{"output_set", PAGE_OUTPUT},   {"input_cut", PAGE_INPUT_CROP},
                                          {"link_set", PAGE_NETWORK},    {"smart_mapping", PAGE_SMART_MAPPING}};
            for (auto it = pages.begin(); it != pages.end(); ++it)
                QVERIFY2(child(m, it.key())->isEnabled() == ScreenRegistry::registered(it.value()),
                         qPrintable(it.key()));
            onModal([](QWidget *net) {
                QCOMPARE(net, static_cast<QWidget *>(StubScreen<PAGE_NETWORK>::global));
                QCOMPARE(int(g_page_focus), int(PAGE_NETWORK));
                ScreenRegistry::open(PAGE_NETWORK);   // no second screen while one shows
                StubScreen<PAGE_NETWORK>::global->on_Button_back_clicked();
            });
            click(m, "link_set");
        });
        QCOMPARE(stubLog(), QStringList({"refresh 4 12", "back 4", "back 10"}));
    }

    void idleUnwindsTheWholeLayoutChain()
    {
        Shell s;
        QStringList opened;
        s.inSettings([&](QWidget *option) {
            onModal([&](QWidget *) {
                onModal([&](QWidget *layout) {
                    if (qobject_cast<ImageLayout *>(layout) && g_page_focus == PAGE_LAYOUT)
                        opened << "layout";
                    onModal([&](QWidget *choice) {
                        if (qobject_cast<InputChoose *>(choice) && g_page_focus == PAGE_INPUT_CHOICE)
                            opened << "input";
                        s.idle(u32(g_back_to_mainwindow_time) + 1);
                    });
                    click(layout, "Button_source_select");
                });
                typeOnKeypad("8888");
            });
            click(option, "image_layout");
        });
        QCOMPARE(opened, QStringList({"layout", "input"}));
        QVERIFY(!g_imagelayout && !g_inputchoose && !g_option);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }
};

QTEST_MAIN(TestOpeners)
#include "test_openers.moc"
