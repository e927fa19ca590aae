#include <memory>

#include "core/global.h"
#include "core/param_layout.h"
#include "tests/ui/input/input_screen_env.h"
#include "tests/video_io/edid_decode.h"
#include "ui/input/edidset.h"
#include "ui/input/inputchoose.h"
#include "ui/shell/my_lineedit.h"
#include "video_io/tavixsource.h"

namespace {

QelRamPara *ram() { return QelRamPara::p_qelrampara_config; }

QString record(int slot)
{
    const EdidView e(ram()->ram_para, slot);
    return QStringLiteral("%1x%2@%3").arg(e.width()).arg(e.height()).arg(e.rate());
}

// The EDID screen as the input choice screen opens it.
struct Edid : InputScreenEnv<EDIDset>
{
    ~Edid() { tavixsource::destroyInstance(); }
    void open() { InputScreenEnv::open(g_edidset, PAGE_EDID); }
    QString tile() const { return labelText(area(), "name_0") + ' ' + labelText(area(), "size_0"); }
    void tapTile() { click(area(), "0"); }
    bool panelOpen() const { return child(screen, "frame_add")->isVisible(); }
    QString panel() const
    {
        return child<QLineEdit>(screen, "lineEdit_W")->text() + 'x' + child<QLineEdit>(screen, "lineEdit_H")->text() +
               '@' + labelText(screen, "label_rate");
    }
};

} // namespace

class TestEdidSet : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        g_language = 1;
        g_inputchoose = nullptr;   // also after a failed test
    }

    void opensOnHdmi1WithTheStoredTiming()
    {
        Edid e;
        e.open();
        QCOMPARE(e.screen->source(), u8(2));
        QCOMPARE(e.tile(), QStringLiteral("HDMI1 1920x1080@60Hz"));
        QVERIFY(!e.panelOpen() && !child(e.screen, "Button_ok")->isVisible());
        QCOMPARE(res(e.screen, "label_DVI"), QStringLiteral(":/png/DVI.png"));

        e.chooseInput(2);
        QCOMPARE(e.tile(), QStringLiteral("HDMI3 3840x2160@60Hz"));
        QCOMPARE(child(e.screen, "input_highlight")->x(), 280);
        e.chooseInput(4);
        QCOMPARE(res(e.area(), "icon_0"), QStringLiteral(":/png/DVI.png"));
        e.tapTile();
        QVERIFY(e.panelOpen());
        QCOMPARE(labelText(e.screen, "label_edid_source"), QStringLiteral("EDID source:DVI"));
        QCOMPARE(e.panel(), QStringLiteral("1920x1080@60"));
        QCOMPARE(child(e.screen, "Button_delete")->geometry(), QRect(80, 406, 180, 60));

        // cancel and delete only close; another input closes too
        for (const char *b : {"Button_cancel", "Button_delete"}) {
            e.type("lineEdit_W", "800");
            click(e.screen, b);
            QVERIFY(!e.panelOpen() && !child(e.screen, "Button_ok")->isVisible());
            e.tapTile();
        }
        e.chooseInput(0);
        QVERIFY(!e.panelOpen());
        QCOMPARE(c331_manage::para_update.load(), u8(0));
        QCOMPARE(record(1), QStringLiteral("1920x1080@60"));
    }

    // SAVE on each input, through the scaler pass and the input manager to
    // the input's EDID memory and a restart of its receiver.
    void saveReachesTheInput_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("w");
        QTest::addColumn<QString>("h");
        QTest::addColumn<int>("rate");
        QTest::newRow("HDMI1") << 0 << 2 << "1280" << "720" << 30;
        QTest::newRow("HDMI2") << 1 << 3 << "1366" << "768" << 60;
        QTest::newRow("HDMI3") << 2 << 4 << "2560" << "1440" << 30;
        QTest::newRow("HDMI4") << 3 << 5 << "3840" << "2160" << 30;
        QTest::newRow("DVI") << 4 << 1 << "1600" << "900" << 60;
        QTest::newRow("EXT") << 5 << 0 << "1024" << "768" << 30;
    }
    void saveReachesTheInput()
    {
        QFETCH(int, column);
        QFETCH(int, slot);
        QFETCH(QString, w);
        QFETCH(QString, h);
        QFETCH(int, rate);
        Edid e;
        c331_manage *scaler = c331_manage::pInstance();
        scaler->pass();   // chip up
        tavixsource *inputs = tavixsource::pInstance();
        e.open();
        e.chooseInput(column);
        e.tapTile();
        e.type("lineEdit_W", w);
        e.type("lineEdit_H", h);
        if (rate == 30)
            click(e.screen, "Button_right");
        click(e.screen, "Button_ok");
        const QString want = QStringLiteral("%1x%2@%3").arg(w, h).arg(rate);
        QCOMPARE(record(slot), want);
        QCOMPARE(c331_manage::para_update.load(), u8(1));
        QCOMPARE(e.tile().section(' ', 1), want + QStringLiteral("Hz"));
        QVERIFY(!e.panelOpen());

        scaler->pass();
        for (int i = 0; i < 6; ++i)
            QCOMPARE(int(inputs->set_edid_flag[i]), i == slot ? 1 : 0);
        inputs->pass();   // EDID written
        inputs->pass();   // hot-plug drop and receiver restart
        const DecodedEdid d = decodeEdid(inputs->sim().edid(slot));
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QCOMPARE(QStringLiteral("%1x%2@%3").arg(d.h_active).arg(d.v_active).arg(qRound(d.refresh())), want);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(inputs->sim().receiver_restarts(i), i == slot ? 1 : 0);
            QCOMPARE(inputs->sim().edid_writes(i), i == slot ? 1 : 0);
        }
        QCOMPARE(int(inputs->set_edid_flag[slot]), 0);

        // the same values again: the scaler finds nothing to rewrite
        e.settle();
        e.tapTile();
        QCOMPARE(e.panel(), want);
        click(e.screen, "Button_ok");
        QCOMPARE(record(slot), want);
        scaler->pass();
        QCOMPARE(int(inputs->set_edid_flag[slot]), 0);
    }

    void keypadAndRate()
    {
        Edid e;
        EdidEdit(ram()->ram_para, 2).set(40000, 32768, 30);
        e.open();
        QCOMPARE(e.tile(), QStringLiteral("HDMI1 40000x32768@30Hz"));
        e.tapTile();
        QCOMPARE(e.panel(), QStringLiteral("40000x32768@30"));
        click(e.screen, "Button_left");
        QCOMPARE(labelText(e.screen, "label_rate"), QStringLiteral("60"));
        click(e.screen, "Button_right");
        QCOMPARE(labelText(e.screen, "label_rate"), QStringLiteral("30"));

        e.type("lineEdit_W", "65536");   // refused
        QCOMPARE(e.panel(), QStringLiteral("40000x32768@30"));
        g_lineedit = child<My_lineEdit>(e.screen, "lineEdit_W");
        e.screen->confirmString(QStringLiteral("7x"));
        QCOMPARE(e.panel(), QStringLiteral("40000x32768@30"));
        click(e.screen, "Button_ok");   // values above 32767 survive
        QCOMPARE(record(2), QStringLiteral("40000x32768@30"));

        e.tapTile();
        e.type("lineEdit_H", "");   // all deleted: 0
        e.type("lineEdit_W", "65535");
        click(e.screen, "Button_ok");
        QCOMPARE(record(2), QStringLiteral("65535x0@30"));
    }

    void languages_data()
    {
        QTest::addColumn<int>("lang");
        QTest::addColumn<QString>("texts");
        QTest::addColumn<int>("rateX");
        QTest::newRow("zh") << 0 << QStringLiteral("设置EDID|EDID信源:HDMI1|宽|高|刷新率|取消|保存|删除|宽 高") << 484;
        QTest::newRow("en") << 1
                            << QStringLiteral("EDID Settings|EDID source:HDMI1|W|H|Refresh rate|Cancle|SAVE|Delete|W H")
                            << 544;
        QTest::newRow("ru") << 2
                            << QStringLiteral("Настройка EDID|Источник EDID:HDMI1|Ширина|Высота|Частота|Отмена|Сохранить|"
                                              "Удалить|W H")
                            << 544;
        QTest::newRow("vn") << 3
                            << QStringLiteral("Cài đặt EDID|Tín hiệu EDID:HDMI1|Rộng|Cao|Tần số|Hủy bỏ|lưu|Xoá bỏ|W H")
                            << 544;
        QTest::newRow("tw") << 4 << QStringLiteral("设置EDID|EDID信源:HDMI1|寬|高|刷新率|取消|保存|删除|寬 高") << 484;
    }
    void languages()
    {
        QFETCH(int, lang);
        QFETCH(QString, texts);
        QFETCH(int, rateX);
        Edid e;
        e.open();
        // changed from outside while the screen is open
        ram()->ram_para[Img::LANGUAGE] = u8(lang);
        e.screen->syncUpdate();
        QStringList seen;
        for (const char *l : {"label_title", "label_edid_source", "label_W", "label_H", "label_freq"})
            seen << labelText(e.screen, l);
        for (const char *b : {"Button_cancel", "Button_ok", "Button_delete"})
            seen << child<QPushButton>(e.screen, b)->text();
        e.tapTile();
        seen << e.keypadTitles({"lineEdit_W", "lineEdit_H"});
        QCOMPARE(seen.join('|'), texts);
        QCOMPARE(child(e.screen, "label_rate")->x(), rateX);
        QCOMPARE(child(e.screen, "label_rate")->width(), lang == 3 ? 72 : 92);
    }

    void refreshKeepsAnOpenPanel()
    {
        Edid e;
        e.open();
        e.tapTile();
        e.type("lineEdit_W", "800");
        EdidEdit(ram()->ram_para, 2).set(1280, 1024, 60);   // from the PC meanwhile
        e.screen->syncUpdate();
        QCOMPARE(e.tile(), QStringLiteral("HDMI1 1280x1024@60Hz"));
        QCOMPARE(e.panel(), QStringLiteral("800x1080@60"));
    }

    void backReturnsToTheInputChoice()
    {
        Edid e;
        std::unique_ptr<InputChoose> owner(new InputChoose);
        InputChoose *choice = owner.get();
        g_inputchoose = choice;
        e.open();
        WindowEdit(ram()->ram_para, 4).setOn(true);   // meanwhile, already saved
        e.settle();
        QPointer<EDIDset> screen = e.screen;
        e.screen = nullptr;
        click(screen.data(), "Button_back");
        QVERIFY(!screen && !g_edidset);
        QCOMPARE(g_page_focus, u8(PAGE_INPUT_CHOICE));
        QVERIFY(child(child(choice, "menu_frame"), "window_4"));

        // the window selected there switched off meanwhile: window 0 again
        click(child(choice, "menu_frame"), "4");
        e.open();
        WindowEdit(ram()->ram_para, 4).setOn(false);
        e.settle();
        screen = e.screen;
        e.screen = nullptr;
        click(screen.data(), "Button_back");
        QCOMPARE(choice->selectedWindow(), u8(0));
        QVERIFY(!child(child(choice, "menu_frame"), "window_4"));

        // alone it only closes
        e.open();
        screen = e.screen;
        e.screen = nullptr;
        click(screen.data(), "Button_back");
        QVERIFY(!screen && !g_edidset);
    }
};

QTEST_MAIN(TestEdidSet)
#include "test_edidset.moc"
