#include <QLabel>

#include "tests/ui/shell/shell_fixture.h"
#include "tests/ui/shell/stub_screen.h"
#include "ui/input/inputchoose.h"
#include "ui/output/outputset.h"
#include "ui/picture/imagelayout.h"
#include "ui/picture/imagequality.h"
#include "ui/picture/test_chart.h"

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
        QVERIFY(child(s.w, "inputchoose")->isEnabled());
        ScreenRegistry::clear();
        register_screens();
        for (u8 page : {PAGE_USER_MODE, PAGE_STATUS, PAGE_NETWORK})
            ScreenRegistry::remove(page);
        s.w->show_menu();
        QVERIFY(!child(s.w, "custommode")->isEnabled());
        QVERIFY(!child(s.w, "machinestate")->isEnabled());
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

        // the settings menu: enabled exactly for the registered pages
        StubScreen<PAGE_NETWORK>::add();
        s.inSettings([&](QWidget *m) {
            const QMap<QString, u8> pages{{"output_set", PAGE_OUTPUT},       {"input_cut", PAGE_INPUT_CROP},
                                          {"link_set", PAGE_NETWORK},        {"image_quality", PAGE_PICTURE},
                                          {"AdvanceButton", PAGE_ADVANCED},  {"test_chart", PAGE_TEST_PATTERN},
                                          {"smart_mapping", PAGE_SMART_MAPPING}, {"image_layout", PAGE_LAYOUT}};
            for (auto it = pages.begin(); it != pages.end(); ++it)
                QVERIFY2(child(m, it.key())->isEnabled() == ScreenRegistry::registered(it.value()),
                         qPrintable(it.key()));
            QVERIFY(child(m, "link_set")->isEnabled());
            onModal([](QWidget *net) {
                QCOMPARE(net, static_cast<QWidget *>(StubScreen<PAGE_NETWORK>::global));
                QCOMPARE(int(g_page_focus), int(PAGE_NETWORK));
                StubScreen<PAGE_NETWORK>::global->on_Button_back_clicked();
            });
            click(m, "link_set");
        });
        QCOMPARE(stubLog().last(), QStringLiteral("back 10"));
    }

    // The input choice's pop-up opens the crop and EDID screens once they exist.
    void inputChoicePopupOpensRegisteredScreens()
    {
        Shell s;
        StubScreen<PAGE_EDID>::add();
        s.w->show_menu();
        onModal([&](QWidget *choice) {
            click(child(choice, "frame"), "Button_menu");
            onModal([&](QWidget *edid) {
                QCOMPARE(edid, static_cast<QWidget *>(StubScreen<PAGE_EDID>::global));
                QCOMPARE(int(g_page_focus), int(PAGE_EDID));
                s.idle(u32(g_back_to_mainwindow_time) + 1);
            });
            click(choice, "button_EDID");
        });
        click(s.w, "inputchoose");
        QCOMPARE(stubLog(), QStringList({"back 8"}));
        QVERIFY(!g_inputchoose);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }
    void mainMenuOpensInputChoiceAndIdleClosesIt()
    {
        Shell s;
        s.w->show_menu();
        bool seen = false;
        onModal([&](QWidget *m) {
            seen = qobject_cast<InputChoose *>(m) && m == reinterpret_cast<QWidget *>(g_inputchoose);
            QCOMPARE(int(g_page_focus), int(PAGE_INPUT_CHOICE));
            // a refresh with a code reaches the open screen without trouble
            SyncUpdate::pInstance()->para_sync(12);
            s.idle(u32(g_back_to_mainwindow_time) + 1);
        });
        QTest::mouseClick(child<QPushButton>(s.w, "inputchoose"), Qt::LeftButton);
        QVERIFY(seen);
        QVERIFY(!g_inputchoose);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }

    void settingsMenuOpensTheOutputScreenAndItsBackReturns()
    {
        Shell s;
        s.w->show_menu();
        bool seen = false;
        onModal([&](QWidget *option) {
            QVERIFY(qobject_cast<Option *>(option));
            onModal([&](QWidget *m) {
                seen = qobject_cast<OutputSet *>(m) != nullptr;
                QCOMPARE(int(g_page_focus), int(PAGE_OUTPUT));
                SyncUpdate::pInstance()->para_sync(1);
                QCOMPARE(g_tip ? g_tip->code() : 0, 1);
                QTest::mouseClick(child<QPushButton>(m, "Button_back"), Qt::LeftButton);
            });
            QTest::mouseClick(child<QPushButton>(option, "output_set"), Qt::LeftButton);
            QVERIFY(!g_outputset);
            QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
            QTest::mouseClick(child<QPushButton>(option, "Button_back"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }

    void pictureScreenClosesOnIdleTestPatternStays()
    {
        Shell s;
        s.w->show_menu();
        bool picture = false, pattern = false;
        onModal([&](QWidget *option) {
            onModal([&](QWidget *m) {
                picture = qobject_cast<ImageQuality *>(m) && g_page_focus == PAGE_PICTURE;
                s.idle(u32(g_back_to_mainwindow_time) + 1);
            });
            QTest::mouseClick(child<QPushButton>(option, "image_quality"), Qt::LeftButton);
            QVERIFY(!g_imagequality);
        });
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QVERIFY(!g_option);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));

        onModal([&](QWidget *option) {
            onModal([&](QWidget *m) {
                s.idle(u32(g_back_to_mainwindow_time) * 3);
                pattern = qobject_cast<test_chart *>(m) && g_test_chart && g_page_focus == PAGE_TEST_PATTERN;
                QTest::mouseClick(child<QPushButton>(m, "Button_back"), Qt::LeftButton);
            });
            QTest::mouseClick(child<QPushButton>(option, "test_chart"), Qt::LeftButton);
            QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
            QTest::mouseClick(child<QPushButton>(option, "Button_back"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QVERIFY(picture);
        QVERIFY(pattern);
    }

    void layoutNeedsTheCodeAndIdleUnwindsTheWholeChain()
    {
        Shell s;
        s.w->show_menu();
        QStringList opened;
        onModal([&](QWidget *option) {
            // a wrong code opens nothing
            onModal([&](QWidget *) { typeOnKeypad("1234"); });
            QTest::mouseClick(child<QPushButton>(option, "image_layout"), Qt::LeftButton);
            QVERIFY(!g_imagelayout);

            onModal([&](QWidget *) {
                onModal([&](QWidget *layout) {
                    if (qobject_cast<ImageLayout *>(layout))
                        opened << "layout";
                    QCOMPARE(int(g_page_focus), int(PAGE_LAYOUT));
                    onModal([&](QWidget *choice) {
                        if (qobject_cast<InputChoose *>(choice))
                            opened << "input";
                        QCOMPARE(int(g_page_focus), int(PAGE_INPUT_CHOICE));
                        s.idle(u32(g_back_to_mainwindow_time) + 1);
                    });
                    QTest::mouseClick(child<QPushButton>(layout, "Button_source_select"), Qt::LeftButton);
                });
                typeOnKeypad("8888");
            });
            QTest::mouseClick(child<QPushButton>(option, "image_layout"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QCOMPARE(opened, QStringList({"layout", "input"}));
        QVERIFY(!g_imagelayout);
        QVERIFY(!g_inputchoose);
        QVERIFY(!g_option);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }
};

QTEST_MAIN(TestOpeners)
#include "test_openers.moc"
