#include <QRegularExpression>
#include <memory>

#include "core/global.h"
#include "core/param_layout.h"
#include "tests/ui/input/input_screen_env.h"
#include "tests/ui/shell/shell_fixture.h"
#include "ui/input/edidset.h"
#include "ui/input/inputchoose.h"
#include "ui/input/inputcut.h"
#include "ui/shell/my_lineedit.h"

namespace {

QelRamPara *ram() { return QelRamPara::p_qelrampara_config; }

void putCrop(int k, int slot, int number, int x = 0, int y = 0, int w = 640, int h = 360)
{
    CropEdit c(ram()->ram_para, k);
    c.setCropWord(Img::cropWord(slot, number));
    c.setRect(u16(x), u16(y), u16(w), u16(h));
}

// Crop record k as "slot/number x,y wxh", "free" when not in use.
QString crop(int k)
{
    const CropView c(ram()->ram_para, k);
    if (!c.inUse())
        return QStringLiteral("free");
    return QStringLiteral("%1/%2 %3,%4 %5x%6").arg(c.slot()).arg(c.number()).arg(c.x()).arg(c.y()).arg(c.width())
        .arg(c.height());
}

void setTiming(int slot, int w, int h, int rate) { InputTiming<u8>(ram()->ram_para, slot).set(u16(w), u16(h), u8(rate)); }

QByteArray image() { return QByteArray(reinterpret_cast<const char *>(ram()->ram_para), Img::SIZE); }

// The crop screen as the settings menu opens it.
struct Cut : InputScreenEnv<InputCut>
{
    void open() { InputScreenEnv::open(g_inputcut, PAGE_INPUT_CROP); }
    void tap(int tile) { click(area(), QString::number(tile)); }
    void press(const char *button) { click(screen, button); }
    QString name(int tile) const { return labelText(area(), QStringLiteral("name_%1").arg(tile)); }
    QString size(int tile) const { return labelText(area(), QStringLiteral("size_%1").arg(tile)); }
    int tiles() const { return area()->findChildren<QFrame *>(QRegularExpression(QStringLiteral("^tile_"))).size(); }
    bool has(const char *areaButton) const { return child(area(), areaButton) && !child(area(), areaButton)->isHidden(); }
    bool formOpen() const { return child(screen, "frame_add")->isVisible(); }
    bool visible(const char *button) const { return child(screen, button)->isVisible(); }
    QString field(const char *name) const { return child<QLineEdit>(screen, name)->text(); }
    QString fields() const
    {
        return QStringList{field("lineEdit_X"), field("lineEdit_Y"), field("lineEdit_W"), field("lineEdit_H")}.join(' ');
    }
    void typeRect(const QString &x, const QString &y, const QString &w, const QString &h)
    {
        type("lineEdit_X", x);
        type("lineEdit_Y", y);
        type("lineEdit_W", w);
        type("lineEdit_H", h);
    }
    // The shell's refresh after the scaler pass.
    void refresh(int code = REFRESH_SAVE)
    {
        screen->syncUpdate(code);
        settle();
        c331_manage::para_update = 0;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

class TestInputCut : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        g_language = 1;
        g_inputchoose = nullptr;   // also after a failed test
    }

    void addEditAndDeleteAcrossInputs()
    {
        Cut c;
        setTiming(2, 1920, 1080, 60);
        c.open();
        QCOMPARE(c.tiles(), 1);
        QCOMPARE(c.name(0) + ' ' + c.size(0), QStringLiteral("HDMI1 1920x1080@60Hz"));
        QVERIFY(c.has("Button_add") && !c.has("Button_next") && !c.has("Button_previous"));
        QCOMPARE(labelText(c.screen, "HDMI1_num"), QStringLiteral("(1)"));

        // add on HDMI1: the form offers the whole picture, Delete stays hidden
        click(c.area(), "Button_add");
        QVERIFY(c.formOpen() && c.visible("Button_ok") && !c.visible("Button_delete") && !c.has("Button_add"));
        QCOMPARE(labelText(c.screen, "label_change_source"), QStringLiteral("Name:HDMI1-Crop-1"));
        QCOMPARE(c.fields(), QStringLiteral("0 0 1920 1080"));
        c.typeRect("100", "50", "640", "360");
        c.press("Button_ok");
        QCOMPARE(crop(0), QStringLiteral("2/1 100,50 640x360"));
        QCOMPARE(c331_manage::para_update.load(), u8(1));
        QVERIFY(!c.formOpen() && c.has("Button_add"));
        QCOMPARE(c.name(1) + ' ' + c.size(1), QStringLiteral("HDMI1_crop1 640x360"));
        QCOMPARE(labelText(c.screen, "HDMI1_num"), QStringLiteral("(2)"));
        c.refresh();

        // DVI: its own numbers from 1, the DVI picture on its tiles
        c.chooseInput(4);
        QCOMPARE(c.screen->source(), u8(1));
        QCOMPARE(child(c.screen, "input_highlight")->x(), 540);
        click(c.area(), "Button_add");
        c.press("Button_ok");   // no signal: taken as offered
        QCOMPARE(crop(1), QStringLiteral("1/1 0,0 1920x1080"));
        QCOMPARE(res(c.area(), "icon_1"), QStringLiteral(":/png/DVI.png"));
        QCOMPARE(labelText(c.screen, "DVI_num"), QStringLiteral("(2)"));
        c.refresh();

        // edit HDMI1's crop: the crop word stays
        c.chooseInput(0);
        c.tap(1);
        QCOMPARE(labelText(c.screen, "label_change_source"), QStringLiteral("Name:HDMI1-Crop-1"));
        QCOMPARE(c.fields(), QStringLiteral("100 50 640 360"));
        QVERIFY(c.visible("Button_delete") && !c.has("Button_add"));
        c.type("lineEdit_X", "1280");
        c.press("Button_ok");
        QCOMPARE(crop(0), QStringLiteral("2/1 1280,50 640x360"));
        c.refresh();

        // delete it while window 2 shows it: the window keeps the whole input
        WindowEdit(ram()->ram_para, 2).setCropRecord(0);
        c.settle();
        c.tap(1);
        c.press("Button_delete");
        QCOMPARE(crop(0), QStringLiteral("free"));
        QCOMPARE(int(ram()->ram_para[Img::window(2, Img::W_SOURCE)]), 2);
        QCOMPARE(int(ram()->ram_para[Img::window(2, Img::W_CROP_FLAG)]), 0);
        QCOMPARE(c.tiles(), 1);
        QCOMPARE(crop(1), QStringLiteral("1/1 0,0 1920x1080"));

        // the whole-input tile and Cancel only close the form
        c.refresh();
        click(c.area(), "Button_add");
        c.tap(0);
        QVERIFY(!c.formOpen());
        click(c.area(), "Button_add");
        c.press("Button_cancel");
        QVERIFY(!c.formOpen() && c.has("Button_add"));
        QCOMPARE(c331_manage::para_update.load(), u8(0));
    }

    void fortyCropsOnOneInput()
    {
        Cut c;
        for (int k = 0; k < 39; ++k)
            putCrop(k, 3, k + 1, 0, 0, 100 + k, 50);
        c.open();
        c.chooseInput(1);
        QCOMPARE(labelText(c.screen, "HDMI2_num"), QStringLiteral("(40)"));
        click(c.area(), "Button_add");
        QCOMPARE(labelText(c.screen, "label_change_source"), QStringLiteral("Name:HDMI2-Crop-40"));
        c.press("Button_ok");
        QCOMPARE(crop(39), QStringLiteral("3/40 0,0 1920x1080"));
        QCOMPARE(labelText(c.screen, "HDMI2_num"), QStringLiteral("(41)"));
        c.refresh();

        // 41 tiles on 7 pages, the last holding 5
        QCOMPARE(c.screen->lastPage(), u8(6));
        for (int p = 0; p < 6; ++p) {
            QCOMPARE(c.tiles(), 6);
            click(c.area(), "Button_next");
        }
        QCOMPARE(c.tiles(), 5);
        QVERIFY(!c.has("Button_next") && c.has("Button_previous"));
        QCOMPARE(c.name(4) + ' ' + c.size(4), QStringLiteral("HDMI2_crop40 1920x1080"));
        QCOMPARE(c.name(0), QStringLiteral("HDMI2_crop36"));

        // a forty-first is refused and the form closes
        const QByteArray before = image();
        click(c.area(), "Button_add");
        c.press("Button_ok");
        QCOMPARE(image(), before);
        QCOMPARE(c331_manage::para_update.load(), u8(0));
        QVERIFY(!c.formOpen());

        // the edit form on page 6 names the ordinal, and edits the record it opened on
        c.tap(2);
        QCOMPARE(labelText(c.screen, "label_change_source"), QStringLiteral("Name:HDMI2-Crop-38"));
        c.type("lineEdit_W", "7");
        c.press("Button_ok");
        QCOMPARE(crop(37), QStringLiteral("3/38 0,0 7x50"));
    }

    // The crop must lie within the input's picture when it has a signal.
    void limitsAgainstTheInputTiming_data()
    {
        QTest::addColumn<QStringList>("rect");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("whole") << QStringList{"0", "0", "1280", "720"} << true;
        QTest::newRow("at the corner") << QStringList{"1000", "700", "280", "20"} << true;
        QTest::newRow("empty") << QStringList{"1280", "720", "0", "0"} << true;
        QTest::newRow("wide by one") << QStringList{"0", "0", "1281", "720"} << false;
        QTest::newRow("right by one") << QStringList{"1", "0", "1280", "720"} << false;
        QTest::newRow("tall by one") << QStringList{"0", "0", "1280", "721"} << false;
        QTest::newRow("low by one") << QStringList{"0", "1", "1280", "720"} << false;
        QTest::newRow("far out") << QStringList{"65535", "65535", "65535", "65535"} << false;
    }
    void limitsAgainstTheInputTiming()
    {
        QFETCH(QStringList, rect);
        QFETCH(bool, accepted);
        Cut c;
        setTiming(4, 1280, 720, 50);
        putCrop(0, 4, 1, 10, 10, 100, 100);
        c.open();
        c.chooseInput(2);
        // an add offers no more than the input
        click(c.area(), "Button_add");
        QCOMPARE(c.fields(), QStringLiteral("0 0 1280 720"));
        c.typeRect(rect[0], rect[1], rect[2], rect[3]);
        c.press("Button_ok");
        const QString want = QStringLiteral("4/2 %1,%2 %3x%4").arg(rect[0], rect[1], rect[2], rect[3]);
        QCOMPARE(crop(1), accepted ? want : QStringLiteral("free"));
        QCOMPARE(c.formOpen(), !accepted);   // a refused entry stays for correction
        if (!accepted)
            c.press("Button_cancel");

        // an edit alike
        c.tap(1);
        c.typeRect(rect[0], rect[1], rect[2], rect[3]);
        c.press("Button_ok");
        QCOMPARE(crop(0), accepted ? QString(want).replace(QStringLiteral("4/2"), QStringLiteral("4/1"))
                                   : QStringLiteral("4/1 10,10 100x100"));

        // without a signal any 16-bit rectangle goes
        setTiming(4, 0, 0, 0);
        c.refresh(REFRESH_INPUTS);
        QCOMPARE(c.size(0), QStringLiteral("No signal"));
        c.tap(1);
        c.typeRect("65535", "65535", "65535", "65535");
        c.press("Button_ok");
        QCOMPARE(crop(0), QStringLiteral("4/1 65535,65535 65535x65535"));
    }

    void keypadEntries()
    {
        Cut c;
        putCrop(0, 2, 1, 40000, 32768, 65535, 1);   // no signal: any 16-bit values
        c.open();
        c.tap(1);
        QCOMPARE(c.fields(), QStringLiteral("40000 32768 65535 1"));
        QCOMPARE(c.field("lineEdit_H"), QStringLiteral("1"));
        c.type("lineEdit_H", "65536");   // refused: the field keeps its value
        QCOMPARE(c.field("lineEdit_H"), QStringLiteral("1"));
        g_lineedit = child<My_lineEdit>(c.screen, "lineEdit_H");
        c.screen->confirmString(QStringLiteral("12a"));
        c.screen->confirmString(QStringLiteral("-5"));
        QCOMPARE(c.field("lineEdit_H"), QStringLiteral("1"));
        // an entry made for another screen's field passes by
        My_lineEdit other;
        g_lineedit = &other;
        c.screen->confirmString(QStringLiteral("9"));
        QCOMPARE(c.field("lineEdit_H"), QStringLiteral("1"));
        c.press("Button_ok");   // untouched values survive
        QCOMPARE(crop(0), QStringLiteral("2/1 40000,32768 65535x1"));

        c.tap(1);
        c.type("lineEdit_Y", "");   // all deleted: stored as 0
        QCOMPARE(c.field("lineEdit_Y"), QString());
        c.press("Button_ok");
        QCOMPARE(crop(0), QStringLiteral("2/1 40000,0 65535x1"));
    }

    void keypadTitles_data()
    {
        QTest::addColumn<int>("lang");
        QTest::addColumn<QString>("titles");
        QTest::newRow("zh") << 0 << QStringLiteral("X Y 宽 高");
        QTest::newRow("en") << 1 << QStringLiteral("X Y W H");
        QTest::newRow("ru") << 2 << QStringLiteral("X Y W H");
        QTest::newRow("tw") << 4 << QStringLiteral("X Y 寬 H");
    }
    void keypadTitles()
    {
        QFETCH(int, lang);
        QFETCH(QString, titles);
        Cut c;
        g_language = u8(lang);
        c.open();
        click(c.area(), "Button_add");
        const QString seen = c.keypadTitles({"lineEdit_X", "lineEdit_Y", "lineEdit_W", "lineEdit_H"});
        QCOMPARE(seen, titles);
    }

    // The form remembers the record and crop number it opened on.
    void staleFormWritesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("change");   // 0 freed, 1 renumbered, 2 other input
        for (const char *b : {"Button_ok", "Button_delete"}) {
            QTest::addRow("%s, freed", b) << QString::fromLatin1(b) << 0;
            QTest::addRow("%s, renumbered", b) << QString::fromLatin1(b) << 1;
            QTest::addRow("%s, other input", b) << QString::fromLatin1(b) << 2;
        }
    }
    void staleFormWritesNothing()
    {
        QFETCH(QString, button);
        QFETCH(int, change);
        Cut c;
        putCrop(0, 2, 1);
        putCrop(1, 2, 2);
        c.open();
        c.tap(2);   // crop 2, record 1
        c.type("lineEdit_X", "5");
        if (change == 0)
            CropEdit(ram()->ram_para, 1).setCropWord(0);
        else
            CropEdit(ram()->ram_para, 1).setCropWord(change == 1 ? Img::cropWord(2, 7) : Img::cropWord(3, 2));
        const QByteArray before = image();
        if (change == 1)
            c.refresh();   // a refresh in between changes nothing
        click(c.screen, button);
        QCOMPARE(image(), before);
        QCOMPARE(c331_manage::para_update.load(), u8(0));
        QVERIFY(!c.formOpen());
        QCOMPARE(c.tiles(), change == 1 ? 3 : 2);
    }

    void formFollowsItsCropThroughPagingAndRefresh()
    {
        Cut c;
        for (int k = 0; k < 8; ++k)
            putCrop(k, 5, k + 1);
        c.open();
        c.chooseInput(3);
        click(c.area(), "Button_next");
        c.tap(1);   // ordinal 7: crop 7, record 6
        // crop 1 deleted from outside, the tiles move; paging back and forth
        CropEdit(ram()->ram_para, 0).setCropWord(0);
        c.refresh(REFRESH_CROPS);
        QVERIFY(c.formOpen() && c.has("Button_add"));   // the add button is back after the rebuild
        click(c.area(), "Button_previous");
        c.type("lineEdit_W", "9");
        c.press("Button_ok");
        QCOMPARE(crop(6), QStringLiteral("5/7 0,0 9x360"));

        // Add while an edit is open: Delete goes, and does nothing if pressed
        c.tap(1);
        c.refresh(REFRESH_CROPS);
        QVERIFY(c.visible("Button_delete"));
        click(c.area(), "Button_add");
        QVERIFY(!c.visible("Button_delete"));
        child<QPushButton>(c.screen, "Button_delete")->click();
        QCOMPARE(crop(1), QStringLiteral("5/2 0,0 640x360"));
        QVERIFY(c.screen->adding() && c.formOpen());
    }

    // A table changed from outside without a refresh, and malformed entries.
    void tilesShowTheTableAsItIs()
    {
        Cut c;
        putCrop(0, 2, 3);
        putCrop(1, 2, 3, 0, 0, 1, 1);   // the same crop number twice
        c.open();
        QCOMPARE(c.tiles(), 3);
        QCOMPARE(c.name(1) + ' ' + c.size(1), QStringLiteral("HDMI1_crop3 640x360"));
        QCOMPARE(c.name(2) + '|' + c.size(2), QStringLiteral("|"));   // no such crop: empty texts
        c.tap(2);
        QVERIFY(!c.formOpen());

        // changed behind the screen: the next listing shows it as it is
        putCrop(2, 2, 1, 0, 0, 320, 240);
        c.chooseInput(0);
        QCOMPARE(c.name(1) + ' ' + c.size(1), QStringLiteral("HDMI1_crop1 320x240"));
        putCrop(2, 2, 2, 0, 0, 320, 240);   // renumbered behind the listing
        c.tap(1);
        QVERIFY(!c.formOpen());
        QCOMPARE(c.name(1), QStringLiteral("HDMI1_crop2"));

        // a crop's user-given name, cut to the line
        c.root.write(QStringLiteral("/data/configs/alias.json"),
                     R"({"namelist":{"crop":[{"id":2,"valid":"on","name":"<b>Stage left</b> with a long, long name"}]}})");
        c.refresh(REFRESH_CROPS);
        QLabel *named = child<QLabel>(c.area(), "name_1");
        QVERIFY(named->text().startsWith(QStringLiteral("<b>Stage")) && named->text().endsWith(QChar(0x2026)));
        QCOMPARE(named->textFormat(), Qt::PlainText);
        QVERIFY(named->fontMetrics().horizontalAdvance(named->text()) <= 172);
    }

    void refreshAndLanguages_data()
    {
        QTest::addColumn<int>("lang");
        QTest::addColumn<QString>("texts");
        QTest::newRow("zh") << 0 << QStringLiteral("输入截取|截取:|宽|高|取消|确定|删除|名称:HDMI1-Crop-1|无信号");
        QTest::newRow("en") << 1 << QStringLiteral("Input intercept|Crop:|W|H|Cancle|OK|Delete|Name:HDMI1-Crop-1|No signal");
        QTest::newRow("ru") << 2
                            << QStringLiteral("Источник|Обрезать:|Ширина|Высота|Отмена|OK|Удалить|Название:HDMI1-Crop-1|"
                                              "Нет сигнала");
        QTest::newRow("vn") << 3 << QStringLiteral("Chặn nguồn vào|Cắt:|Rộng|Cao|Hủy bỏ|Đồng ý|Xoá bỏ|Tên:HDMI1-Crop-1|"
                                                   "Không có tín hiệu");
        QTest::newRow("tw") << 4 << QStringLiteral("輸入截取|截取:|寬|高|取消|確定|删除|名稱:HDMI1-Crop-1|無信號");
    }
    void refreshAndLanguages()
    {
        QFETCH(int, lang);
        QFETCH(QString, texts);
        Cut c;
        putCrop(0, 2, 1);
        c.open();
        c.tap(1);
        // the language changes from outside while the form is open
        ram()->ram_para[Img::LANGUAGE] = u8(lang);
        c.refresh();
        QVERIFY(c.formOpen());
        QStringList seen;
        for (const char *l : {"label_title", "label_crop", "label_W", "label_H"})
            seen << labelText(c.screen, l);
        for (const char *b : {"Button_cancel", "Button_ok", "Button_delete"})
            seen << child<QPushButton>(c.screen, b)->text();
        seen << labelText(c.screen, "label_change_source") << c.size(0);
        QCOMPARE(seen.join('|'), texts);
    }

    void refreshFollowsTheTableAndSignal()
    {
        Cut c;
        c.open();
        putCrop(5, 0, 1);
        putCrop(6, 2, 4);
        setTiming(2, 720, 576, 50);
        c.refresh();
        QCOMPARE(labelText(c.screen, "EXT_num") + labelText(c.screen, "HDMI1_num"), QStringLiteral("(2)(2)"));
        QCOMPARE(c.name(1) + ' ' + c.size(0), QStringLiteral("HDMI1_crop4 720x576@50Hz"));
        // a file transfer's code recounts though the table matches the saved copy
        putCrop(7, 2, 1);
        c.settle();
        c.refresh(REFRESH_CROPS);
        QCOMPARE(labelText(c.screen, "HDMI1_num"), QStringLiteral("(3)"));
        QCOMPARE(c.name(1), QStringLiteral("HDMI1_crop1"));
    }

    // Back over the input choice screen brings it up to date with what
    // changed meanwhile, though the shadow already holds it.
    void backUpdatesTheInputChoice()
    {
        Cut c;
        std::unique_ptr<InputChoose> owner(new InputChoose);
        InputChoose *choice = owner.get();
        g_inputchoose = choice;
        choice->show();
        c.open();
        click(c.area(), "Button_add");
        c.press("Button_ok");
        WindowEdit(ram()->ram_para, 3).setOn(true);
        setTiming(3, 1920, 1080, 60);
        c.settle();
        QPointer<InputCut> screen = c.screen;
        c.press("Button_back");
        c.screen = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!screen && !g_inputcut);
        QCOMPARE(g_page_focus, u8(PAGE_INPUT_CHOICE));
        QCOMPARE(labelText(choice, "label_HDMI1_num"), QStringLiteral("(2)"));
        QCOMPARE(res(choice, "label_HDMI2"), QStringLiteral(":/png/HDMI13_lv.png"));
        QVERIFY(child(child(choice, "menu_frame"), "window_3"));
        QCOMPARE(labelText(child(choice, "frame"), "name_1"), QStringLiteral("HDMI1_crop1"));
    }

    // Both openers, Back to the page each came from, and the idle return
    // closing the chain from the top.
    void openersBackAndIdleReturn()
    {
        Shell s;
        const u32 idle = u32(g_back_to_mainwindow_time) + 1;
        auto isPage = [](u8 page, QWidget *screen, QWidget *global) {
            QCOMPARE(int(g_page_focus), int(page));
            QVERIFY(screen && screen == global);
        };
        s.inSettings([&](QWidget *menu) {
            onModal([&](QWidget *cut) {
                isPage(PAGE_INPUT_CROP, cut, g_inputcut);
                QVERIFY(qobject_cast<InputCut *>(cut));
                click(cut, "Button_back");
            });
            click(menu, "input_cut");
            QVERIFY(!g_inputcut);
            QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
            onModal([&](QWidget *) { s.idle(idle); });
            click(menu, "input_cut");
        });
        QVERIFY(!g_inputcut && !g_option);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));

        // from the input choice pop-up
        auto pop = [](QWidget *choice, const char *button, std::function<void(QWidget *)> inside) {
            click(child(choice, "frame"), "Button_menu");
            onModal(inside);
            click(choice, button);
        };
        for (const char *last : {"button_inputcut", "button_EDID"}) {
            s.w->show_menu();
            onModal([&](QWidget *choice) {
                pop(choice, "button_inputcut", [&](QWidget *cut) {
                    isPage(PAGE_INPUT_CROP, cut, g_inputcut);
                    click(cut, "Button_back");
                });
                isPage(PAGE_INPUT_CHOICE, choice, g_inputchoose);
                QVERIFY(child(choice, "button_inputcut")->isHidden());
                pop(choice, "button_EDID", [&](QWidget *edid) {
                    isPage(PAGE_EDID, edid, g_edidset);
                    QVERIFY(qobject_cast<EDIDset *>(edid));
                    click(edid, "Button_back");
                });
                isPage(PAGE_INPUT_CHOICE, choice, g_inputchoose);
                pop(choice, last, [&](QWidget *) { s.idle(idle); });
            });
            click(s.w, "inputchoose");
            QVERIFY(!g_inputcut && !g_edidset && !g_inputchoose);
            QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
        }
    }
};

QTEST_MAIN(TestInputCut)
#include "test_inputcut.moc"
