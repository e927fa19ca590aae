#include "core/global.h"
#include "core/param_layout.h"
#include "tests/ui/input/input_screen_env.h"
#include "tests/video_io/edid_decode.h"
#include "ui/input/edidset.h"
#include "video_io/tavixsource.h"

namespace {

QString record(int slot)
{
    const EdidView e(QelRamPara::p_qelrampara_config->ram_para, slot);
    return QStringLiteral("%1x%2@%3").arg(e.width()).arg(e.height()).arg(e.rate());
}

// The EDID screen as the input choice screen opens it.
struct Edid : InputScreenEnv<EDIDset>
{
    ~Edid() { tavixsource::destroyInstance(); }
    void open() { InputScreenEnv::open(g_edidset, PAGE_EDID); }
    QString panel() const { return field("lineEdit_W") + 'x' + field("lineEdit_H") + '@' + labelText(screen, "label_rate"); }
};

} // namespace

class TestEdidSet : public QObject
{
    Q_OBJECT

private slots:
    void init() { g_language = 1; }

    // The panel shows the stored timing, only SAVE writes, 16-bit entries.
    void panelShowsTheStoredTimingAndOnlySaveWrites()
    {
        Edid e;
        e.open();
        QCOMPARE(e.tile(0), QStringLiteral("HDMI1 1920x1080@60Hz"));
        e.chooseInput(4);
        e.tap(0);
        QCOMPARE(labelText(e.screen, "label_edid_source") + ' ' + e.panel(), QStringLiteral("EDID source:DVI 1920x1080@60"));
        e.type("lineEdit_W", "800");   // an entry stays while the tile follows a change from the PC
        EdidEdit(QelRamPara::p_qelrampara_config->ram_para, 1).set(1280, 1024, 60);
        e.screen->syncUpdate();
        QCOMPARE(e.tile(0) + ' ' + e.panel(), QStringLiteral("DVI 1280x1024@60Hz 800x1080@60"));
        for (const char *b : {"Button_cancel", "Button_delete"}) {   // both only close
            click(e.screen, b);
            QVERIFY(!e.formOpen() && !child(e.screen, "Button_ok")->isVisible());
            e.tap(0);
        }
        e.chooseInput(0);   // another input closes too
        QVERIFY(!e.formOpen());
        QCOMPARE(record(1) + ' ' + QString::number(c331_manage::para_update), QStringLiteral("1280x1024@60 0"));

        EdidEdit(QelRamPara::p_qelrampara_config->ram_para, 2).set(40000, 32768, 30);
        e.tap(0);
        click(e.screen, "Button_left");
        click(e.screen, "Button_right");
        e.type("lineEdit_W", "65536");   // refused
        click(e.screen, "Button_ok");   // values above 32767 survive
        QCOMPARE(record(2), QStringLiteral("40000x32768@30"));
        e.tap(0);
        click(e.screen, "Button_left");
        e.type("lineEdit_H", "");   // all deleted: 0
        click(e.screen, "Button_ok");
        QCOMPARE(record(2), QStringLiteral("40000x0@60"));
        e.back();   // without an input choice screen under it, it only closes
        QVERIFY(!g_edidset);
    }

    // SAVE on each input reaches the input's EDID memory through the scaler
    // pass, and restarts that input's receiver only; texts follow a language
    // change from outside.
    void saveReachesTheInput_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("want");
        QTest::addColumn<int>("lang");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("text");
        QTest::newRow("HDMI1") << 0 << 2 << "1280x720@30" << 0 << "keypad" << "宽 高";
        QTest::newRow("HDMI2") << 1 << 3 << "1366x768@60" << 1 << "Button_cancel" << "Cancle";
        QTest::newRow("HDMI3") << 2 << 4 << "2560x1440@30" << 2 << "label_edid_source" << "Источник EDID:HDMI3";
        QTest::newRow("HDMI4") << 3 << 5 << "3840x2160@30" << 3 << "Button_ok" << "lưu";
        QTest::newRow("DVI") << 4 << 1 << "1600x900@60" << 4 << "label_title" << "设置EDID";
        QTest::newRow("EXT") << 5 << 0 << "1024x768@30" << 2 << "label_freq" << "Частота";
    }
    void saveReachesTheInput()
    {
        QFETCH(int, column);
        QFETCH(int, slot);
        QFETCH(QString, want);
        QFETCH(int, lang);
        QFETCH(QString, widget);
        QFETCH(QString, text);
        Edid e;
        c331_manage *scaler = c331_manage::pInstance();
        scaler->pass();   // chip up
        tavixsource *inputs = tavixsource::pInstance();
        e.open();
        e.chooseInput(column);
        QelRamPara::p_qelrampara_config->ram_para[Img::LANGUAGE] = u8(lang);
        e.screen->syncUpdate();
        e.tap(0);
        QCOMPARE(e.shows(widget, {"lineEdit_W", "lineEdit_H"}), text);
        e.type("lineEdit_W", want.section('x', 0, 0));
        e.type("lineEdit_H", want.section('x', 1).section('@', 0, 0));
        if (want.endsWith("30"))
            click(e.screen, "Button_right");
        click(e.screen, "Button_ok");
        QCOMPARE(record(slot), want);
        QCOMPARE(e.tile(0).section(' ', 1), want + QStringLiteral("Hz"));
        QVERIFY(!e.formOpen() && c331_manage::para_update == 1);

        scaler->pass();
        inputs->pass();   // EDID written
        inputs->pass();   // hot-plug drop and receiver restart
        const DecodedEdid d = decodeEdid(inputs->sim().edid(slot));
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QCOMPARE(QStringLiteral("%1x%2@%3").arg(d.h_active).arg(d.v_active).arg(qRound(d.refresh())), want);
        for (int i = 0; i < 6; ++i)
            QVERIFY(inputs->sim().receiver_restarts(i) == (i == slot) && inputs->sim().edid_writes(i) == (i == slot));

        e.settle();   // the same values again: nothing to rewrite
        e.tap(0);
        click(e.screen, "Button_ok");
        scaler->pass();
        for (int i = 0; i < 6; ++i)
            QCOMPARE(int(inputs->set_edid_flag[i]), 0);
    }
};

QTEST_MAIN(TestEdidSet)
#include "test_edidset.moc"
