#include <QLabel>

#include "tests/ui/shell/shell_fixture.h"

namespace {
void setTiming(int slot, u16 w, u16 h, u8 rate)
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    const int o = Img::INPUT_TIMING + Img::INPUT_TIMING_SIZE * slot;
    p->set_u16(o, w);
    p->set_u16(o + 2, h);
    p->ram_para[o + 4] = rate;
}
}

class TestLockWindow : public QObject
{
    Q_OBJECT

private slots:
    void showsTheInputSignalsInPanelOrder()
    {
        Shell s;
        setTiming(2, 1920, 1080, 60);   // HDMI1
        setTiming(5, 3840, 2160, 30);   // HDMI4
        setTiming(1, 1280, 720, 60);    // DVI
        setTiming(0, 1024, 768, 0);     // EXT: no rate, no signal
        setTiming(3, 0, 1080, 60);      // HDMI2: no width, no signal
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

    void touchOpensTheMenuAndHoldingTheLockLiftsTheKeyLock()
    {
        Shell s;
        QTest::mouseClick(s.home, Qt::LeftButton, Qt::NoModifier, QPoint(400, 60));
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
        QVERIFY(!s.home->isVisible() && s.w->isVisible());

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

QTEST_MAIN(TestLockWindow)
#include "test_lockwindow.moc"
