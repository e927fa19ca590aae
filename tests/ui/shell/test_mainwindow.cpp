#include <QLabel>
#include <thread>

#include "led_output/fpga_manage.h"
#include "tests/ui/shell/shell_fixture.h"

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void keyLockRefusesTheMenusAndPopup()
    {
        Shell s;
        s.w->show_menu();
        lcd_touch::p_lcd_touch->set_key_lock(true);
        QVERIFY(child<QLabel>(s.w, "label_lock")->isVisibleTo(s.w));
        bool opened = false;   // were it to open, the modal run would be closed here and noticed
        onModal([&](QWidget *) {
            if (g_option) {
                opened = true;
                g_option->on_Button_back_clicked();
            }
        });
        click(s.w, "Button_setting");
        click(s.w, "Button_mode");
        QCoreApplication::processEvents();
        QVERIFY(!opened && !s.w->mode_window_open());
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
        click(s.w, "mode_slot_6");
        QCOMPARE(int(g_mode_select), 6);
        g_language = 2;
        s.w->language_changed();
        QCOMPARE(slot(0)->text(), QStringLiteral("Слот 1"));

        // an opener first closes the pop-up; so does its Close
        onModal([](QWidget *m) { QTest::mouseClick(child<QPushButton>(m, "Button_back"), Qt::LeftButton); });
        click(s.w, "Button_setting");
        QVERIFY(!s.w->mode_window_open());
        click(s.w, "Button_mode");
        click(s.w, "Button_mode_close");
        QVERIFY(!s.w->mode_window_open());
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
