#include <QRegularExpression>
#include <cstring>

#include "core/global.h"
#include "core/param_layout.h"
#include "tests/ui/input/input_screen_env.h"
#include "tests/ui/shell/shell_fixture.h"
#include "ui/input/edidset.h"
#include "ui/input/inputchoose.h"
#include "ui/input/inputcut.h"

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
    return !c.inUse() ? QStringLiteral("free")
                      : QStringLiteral("%1/%2 %3,%4 %5x%6").arg(c.slot()).arg(c.number()).arg(c.x()).arg(c.y())
                            .arg(c.width()).arg(c.height());
}

void setTiming(int slot, int w, int h, int rate) { InputTiming<u8>(ram()->ram_para, slot).set(u16(w), u16(h), u8(rate)); }

QByteArray image() { return TestEnv::image(); }
// The crop screen as the settings menu opens it.
struct Cut : InputScreenEnv<InputCut>
{
    void open() { InputScreenEnv::open(g_inputcut, PAGE_INPUT_CROP); }
    void add() { click(area(), "Button_add"); }
    int tiles() const { return area()->findChildren<QPushButton *>(QRegularExpression(QStringLiteral("^\\d$"))).size(); }
    bool has(const char *areaButton) const { return child(area(), areaButton) && !child(area(), areaButton)->isHidden(); }
    void ok() { click(screen, "Button_ok"); }
    // The form's fields marked as refused, in the order X, Y, W, H.
    QString marked() const
    {
        QString m;
        for (const char *f : {"lineEdit_X", "lineEdit_Y", "lineEdit_W", "lineEdit_H"})
            if (child(screen, f)->styleSheet().contains(QLatin1String("229, 72, 77")))
                m += QLatin1Char(f[9]);
        return m;
    }
    QString form() const
    {
        return QStringList{labelText(screen, "label_change_source"), field("lineEdit_X"), field("lineEdit_Y"),
                           field("lineEdit_W"), field("lineEdit_H")}.join(' ');
    }
    void typeRect(const QStringList &r)
    {
        int i = 0;
        for (const char *f : {"lineEdit_X", "lineEdit_Y", "lineEdit_W", "lineEdit_H"})
            type(f, r[i++]);
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

    void addEditAndDelete()
    {
        Cut c;
        setTiming(2, 1920, 1080, 60);
        c.open();
        c.add();   // the whole picture offered, no Delete
        QVERIFY(c.formOpen() && !child(c.screen, "Button_delete")->isVisible() && !c.has("Button_add"));
        QCOMPARE(c.form(), QStringLiteral("Name:HDMI1-Crop-1 0 0 1920 1080"));
        c.typeRect({"100", "50", "640", "360"});
        c.ok();
        QCOMPARE(crop(0), QStringLiteral("2/1 100,50 640x360"));
        QVERIFY(c331_manage::para_update == 1 && !c.formOpen() && c.has("Button_add"));
        QCOMPARE(c.tile(1) + labelText(c.screen, "HDMI1_num"), QStringLiteral("HDMI1_crop1 640x360(2)"));
        c.refresh();

        c.tap(1);   // Add over an open edit hides Delete, which then does nothing
        c.add();
        QVERIFY(!child(c.screen, "Button_delete")->isVisible());
        child<QPushButton>(c.screen, "Button_delete")->click();
        QVERIFY(crop(0) != "free" && c.screen->adding() && c.formOpen());

        c.tap(1);   // an edit keeps the crop word
        QCOMPARE(c.form(), QStringLiteral("Name:HDMI1-Crop-1 100 50 640 360"));
        c.type("lineEdit_X", "1280");
        c.ok();
        QCOMPARE(crop(0), QStringLiteral("2/1 1280,50 640x360"));
        c.refresh();

        // the crop window 2 shows deleted
        WindowEdit(ram()->ram_para, 2).setCropRecord(0);
        c.tap(1);
        click(c.screen, "Button_delete");
        const u8 *win = ram()->ram_para + Img::window(2, 0);   // the window keeps the whole input
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(crop(0)).arg(win[Img::W_SOURCE]).arg(win[Img::W_CROP_FLAG]).arg(c.tiles()),
                 QStringLiteral("free 2 0 1"));
        c.refresh();

        c.add();   // the whole-input tile and Cancel only close the form
        c.tap(0);
        QVERIFY(!c.formOpen());
        c.add();
        click(c.screen, "Button_cancel");
        QVERIFY(!c.formOpen() && c.has("Button_add") && c331_manage::para_update == 0);

        // forty crops on one input
        for (int k = 0; k < 39; ++k)
            putCrop(k, 3, k + 1, 0, 0, 100 + k, 50);
        c.refresh(REFRESH_CROPS);
        c.chooseInput(1);
        c.add();
        c.ok();
        QCOMPARE(crop(39) + labelText(c.screen, "HDMI2_num"), QStringLiteral("3/40 0,0 1920x1080(41)"));
        c.refresh();
        for (int p = 0; p < 6; ++p)   // 41 tiles, 5 on the seventh page
            click(c.area(), "Button_next");
        QVERIFY(c.tiles() == 5 && !c.has("Button_next") && c.has("Button_previous"));
        QCOMPARE(c.tile(4), QStringLiteral("HDMI2_crop40 1920x1080"));

        const QByteArray before = image();   // a forty-first is refused
        c.add();
        c.ok();
        QCOMPARE(image(), before);
        QVERIFY(!c.formOpen() && c331_manage::para_update == 0);

        // the form edits the record it opened on, through an outside change and paging
        c.tap(2);
        QCOMPARE(c.form(), QStringLiteral("Name:HDMI2-Crop-38 0 0 137 50"));
        CropEdit(ram()->ram_para, 0).setCropWord(0);
        c.refresh(REFRESH_CROPS);
        click(c.area(), "Button_previous");
        QVERIFY(c.formOpen());
        c.type("lineEdit_W", "7");
        c.ok();
        QCOMPARE(crop(37), QStringLiteral("3/38 0,0 7x50"));
    }

    // A crop lies within the input's picture when it has a signal; entries
    // are unsigned 16-bit, empty as 0, and a refused one leaves the field.
    // A crop refused for reaching past the input marks the fields of that
    // axis until they fit again.
    void entries_data()
    {
        QTest::addColumn<bool>("signal");   // HDMI3 at 1280 x 720, else none
        QTest::addColumn<QStringList>("rect");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("marked");   // after the refused OK, then after X := 0
        QTest::newRow("whole") << true << QStringList{"0", "0", "1280", "720"} << "0,0 1280x720" << "0,0 1280x720" << "";
        QTest::newRow("empty") << true << QStringList{"1280", "720", "0", "0"} << "1280,720 0x0" << "1280,720 0x0" << "";
        QTest::newRow("right by one") << true << QStringList{"1", "0", "1280", "720"} << "" << "" << "XW ";
        QTest::newRow("low by one") << true << QStringList{"0", "1", "1280", "720"} << "" << "" << "YH YH";
        QTest::newRow("far out") << true << QStringList{"65535", "65535", "65535", "65535"} << "" << ""
                                 << "XYWH XYWH";
        QTest::newRow("no signal, 16-bit") << false << QStringList{"40000", "32768", "65535", "1"}
                                           << "40000,32768 65535x1" << "40000,32768 65535x1" << "";
        QTest::newRow("refused, deleted") << false << QStringList{"65536", "12a", "-5", ""} << "0,0 1920x0"
                                          << "10,10 100x0" << "";
    }
    void entries()
    {
        QFETCH(bool, signal);
        QFETCH(QStringList, rect);
        QFETCH(QString, added);
        QFETCH(QString, edited);
        QFETCH(QString, marked);
        Cut c;
        if (signal)
            setTiming(4, 1280, 720, 50);
        putCrop(0, 4, 1, 10, 10, 100, 100);
        c.open();
        c.chooseInput(2);
        c.add();
        QCOMPARE(c.form(), "Name:HDMI3-Crop-2 0 0 " + QString(signal ? "1280 720" : "1920 1080"));   // within the input
        c.typeRect(rect);
        My_lineEdit other;   // an entry for another screen's field passes by
        g_lineedit = &other;
        emit g_numberkeyboard->sendKeyBoardUIDataToLineEdit(QStringLiteral("9"));
        c.ok();
        QCOMPARE(crop(1), added.isEmpty() ? QStringLiteral("free") : "4/2 " + added);
        QCOMPARE(c.formOpen(), added.isEmpty());   // a refused crop stays for correction
        if (added.isEmpty()) {
            const QString refused = c.marked();
            c.type("lineEdit_X", "0");
            QCOMPARE(refused + ' ' + c.marked(), marked);
            click(c.screen, "Button_cancel");
        }
        c.tap(1);   // an edit alike, its form unmarked
        QCOMPARE(c.marked(), QString());
        c.typeRect(rect);
        c.ok();
        QCOMPARE(crop(0), "4/1 " + (edited.isEmpty() ? QStringLiteral("10,10 100x100") : edited));
    }

    // OK and Delete act only on the record and crop number the form opened
    // on; the form's texts follow a language change from outside.
    void staleFormWritesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("word");   // the record's crop word changed to
        QTest::addColumn<int>("lang");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("text");
        QTest::newRow("OK, freed") << "Button_ok" << 0 << 0 << "label_title" << "输入截取";
        QTest::newRow("Delete, renumbered") << "Button_delete" << int(Img::cropWord(2, 7)) << 1 << "Button_cancel"
                                            << "Cancle";
        QTest::newRow("OK, other input") << "Button_ok" << int(Img::cropWord(3, 2)) << 2 << "tile" << "HDMI1 Нет сигнала";
        QTest::newRow("Delete, freed") << "Button_delete" << 0 << 3 << "label_change_source" << "Tên:HDMI1-Crop-2";
        QTest::newRow("OK, renumbered") << "Button_ok" << int(Img::cropWord(2, 1)) << 4 << "keypad" << "X Y 寬 H";
    }
    void staleFormWritesNothing()
    {
        QFETCH(QString, button);
        QFETCH(int, word);
        QFETCH(int, lang);
        QFETCH(QString, widget);
        QFETCH(QString, text);
        Cut c;
        putCrop(0, 2, 1);
        putCrop(1, 2, 2);
        c.open();
        c.tap(2);   // crop 2, record 1
        c.type("lineEdit_X", "5");
        ram()->ram_para[Img::LANGUAGE] = u8(lang);
        c.refresh();
        QCOMPARE(widget == "tile" ? c.tile(0) : c.shows(widget, {"lineEdit_X", "lineEdit_Y", "lineEdit_W", "lineEdit_H"}),
                 text);
        CropEdit(ram()->ram_para, 1).setCropWord(u16(word));
        const QByteArray before = image();
        if (button == "Button_delete")
            c.refresh();   // a refresh in between changes nothing
        click(c.screen, button);
        QCOMPARE(image(), before);
        QVERIFY(!c.formOpen() && c331_manage::para_update == 0);
    }

    // Tiles list the table as it is, also when changed without a refresh.
    void tilesShowTheTableAsItIs()
    {
        Cut c;
        putCrop(0, 2, 3);
        putCrop(1, 2, 3, 0, 0, 1, 1);   // the same crop number twice
        c.open();
        QCOMPARE(c.tiles(), 3);
        QCOMPARE(c.tile(1) + '|' + c.tile(2), QStringLiteral("HDMI1_crop3 640x360| "));   // no such crop: empty
        c.tap(2);   // nothing to edit
        QVERIFY(!c.formOpen());
        putCrop(2, 2, 1, 0, 0, 320, 240);
        c.chooseInput(0);
        QCOMPARE(c.tile(1), QStringLiteral("HDMI1_crop1 320x240"));
        putCrop(2, 2, 2, 0, 0, 320, 240);   // renumbered behind the listing
        c.tap(1);
        QVERIFY(!c.formOpen() && c.tile(1) == QStringLiteral("HDMI1_crop2 320x240"));

        // a file transfer's refresh code recounts though the shadow matches
        setTiming(2, 720, 576, 50);
        c.settle();
        c.refresh(REFRESH_CROPS);
        QCOMPARE(labelText(c.screen, "HDMI1_num") + c.tile(0), QStringLiteral("(4)HDMI1 720x576@50Hz"));

        // a user-given name shows as plain text cut to the line
        c.root.write(QStringLiteral("/data/configs/alias.json"),
                     R"({"namelist":{"crop":[{"id":2,"valid":"on","name":"<b>Stage left</b> with a long, long name"}]}})");
        c.refresh(REFRESH_CROPS);
        QVERIFY(c.tile(1).startsWith(QStringLiteral("<b>Stage")) && c.tile(1).endsWith(QStringLiteral("\u2026 320x240")));
    }

    // Both openers, Back to the page each came from and the input choice
    // brought up to date though the shadow already holds the change.
    void openersAndBack()
    {
        Shell s;
        auto backTo = [](QWidget *screen, QWidget *global, u8 page, u8 back) {
            QVERIFY(screen && screen == global && g_page_focus == page);
            click(screen, "Button_back");
            QCOMPARE(int(g_page_focus), int(back));
        };
        s.inSettings([&](QWidget *menu) {
            const auto crop = onModal([&](QWidget *cut) { backTo(cut, g_inputcut, PAGE_INPUT_CROP, PAGE_SETTINGS); });
            click(menu, "input_cut");
        });

        // from the input choice pop-up; window w switched on meanwhile
        auto pop = [&](QWidget *choice, const char *button, int w, std::function<void(QWidget *)> inside) {
            click(child(choice, "frame"), "Button_menu");
            const auto opened = onModal([=](QWidget *screen) {
                WindowEdit(ram()->ram_para, w).setOn(true);
                std::memcpy(ram()->ram_para_shadow, ram()->ram_para, Img::SIZE);
                inside(screen);
            });
            click(choice, button);
            QVERIFY(g_inputchoose == choice && child(child(choice, "menu_frame"), QStringLiteral("window_%1").arg(w)));
        };
        s.w->show_menu();
        const auto inputChoice = onModal([&](QWidget *choice) {
            pop(choice, "button_inputcut", 3, [&](QWidget *cut) {
                click(child(cut, "frame_source"), "Button_add");
                click(cut, "Button_ok");
                backTo(cut, g_inputcut, PAGE_INPUT_CROP, PAGE_INPUT_CHOICE);
            });
            QCOMPARE(labelText(choice, "label_HDMI1_num"), QStringLiteral("(2)"));
            pop(choice, "button_EDID", 4, [&](QWidget *edid) { backTo(edid, g_edidset, PAGE_EDID, PAGE_INPUT_CHOICE); });
            click(choice, "Button_back");
        });
        click(s.w, "inputchoose");
        QVERIFY(!g_inputcut && !g_edidset && !g_inputchoose);
    }
};

QTEST_MAIN(TestInputCut)
#include "test_inputcut.moc"
