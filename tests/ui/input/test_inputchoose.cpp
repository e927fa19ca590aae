#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include "core/global.h"
#include "core/param_view.h"
#include "tests/support/widget_helpers.h"
#include "ui/input/inputchoose.h"

namespace {

QelRamPara *ram() { return QelRamPara::p_qelrampara_config; }
void put16(int off, int v) { ram()->set_u16(off, u16(v)); }
// Window w's source byte and crop flag, as "source/flag".
QString source(int w)
{
    return QStringLiteral("%1/%2").arg(ram()->get_u16(Img::window(w, Img::W_SOURCE)) & 0xFF)
        .arg(ram()->ram_para[Img::window(w, Img::W_CROP_FLAG)], 0, 16);
}
void setCrop(int k, int slot, int number)
{
    CropEdit(ram()->ram_para, k).setCropWord(Img::cropWord(slot, number));
    CropEdit(ram()->ram_para, k).setRect(0, 0, 640, 360);
}
// Raw on word (the menu reads its low byte only), source byte and crop flag.
void setWindow(int w, int on, int source, int flag = 0)
{
    put16(Img::window(w, Img::W_ON), on);
    put16(Img::window(w, Img::W_SOURCE), source | flag << 8);
}
// The refresh as the shell runs it after the scaler pass.
void refresh(ScreenEnv &env, InputChoose &dlg, int code = 1)
{
    if (c331_manage::p_c331_manage)
        c331_manage::p_c331_manage->pass();
    dlg.syncUpdate(code);
    env.settle();
    c331_manage::para_update = 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget *area(QWidget &dlg) { return child(&dlg, "frame"); }
QWidget *menu(QWidget &dlg) { return child(&dlg, "menu_frame"); }
void clickTile(InputChoose &dlg, int i) { click(area(dlg), QString::number(i)); }
void clickWindow(InputChoose &dlg, int w) { click(menu(dlg), QString::number(w)); }
// What a tile's button draws (as plain text): name and size line; a window's source name.
QString shown(QWidget *in, int n, const char *line) { return child(in, QString::number(n))->property(line).toString(); }
QString tileName(InputChoose &dlg, int i) { return shown(area(dlg), i, "tile_name"); }
QString tileSize(InputChoose &dlg, int i) { return shown(area(dlg), i, "tile_size"); }
QString windowLabel(InputChoose &dlg, int w) { return shown(menu(dlg), w, "tile_name"); }
// The tiles on the page, then "<" and ">" for the page buttons shown.
QString page(InputChoose &dlg)
{
    return QString::number(area(dlg)->findChildren<QFrame *>(QStringLiteral("source_frame")).size()) +
           (child(area(dlg), "Button_previous") ? "<" : "") + (child(area(dlg), "Button_next") ? ">" : "");
}
int one(const QList<int> &tiles) { return tiles.size() == 1 ? tiles.first() : tiles.isEmpty() ? -1 : -2; }
// "input:tile": the selected input and the on-page tile carrying the badge (-1 none, -2 several),
// followed by the tile outlined green when that is another.
QString at(InputChoose &dlg)
{
    QList<int> badged, green;
    for (QLabel *badge : area(dlg)->findChildren<QLabel *>(QRegularExpression(QStringLiteral("^badge_"))))
        badged << badge->objectName().mid(6).toInt();
    const auto frames = area(dlg)->findChildren<QFrame *>(QStringLiteral("source_frame"));
    for (int i = 0; i < frames.size(); ++i) {
        if (frames[i]->grab().toImage().pixelColor(0, 45) == QColor(0x00, 0xD6, 0x5B))
            green << i;
    }
    const QString shown = QStringLiteral("%1:%2").arg(dlg.selectedInput()).arg(one(badged));
    return one(green) == one(badged) ? shown : shown + QStringLiteral(" outlined %1").arg(one(green));
}

} // namespace

class TestInputChoose : public QObject
{
    Q_OBJECT

private slots:
    void init() { g_inputchoose = nullptr; }

    void windowMenuTabsAndRefresh()
    {
        ScreenEnv env;
        // no such input; DVI; on word 2 (not listed); a free crop record; past the crop table; low byte 1
        for (const auto &w : {std::array<int, 4>{0, 1, 9, 0}, {1, 1, 1, 0}, {2, 2, 3, 0}, {3, 1, 7, 0x80},
                              {4, 1, 45, 0x80}, {5, 0x0101, 4, 0}})
            setWindow(w[0], w[1], w[2], w[3]);
        env.settle();
        InputChoose dlg;
        dlg.show();
        QVERIFY(!child(menu(dlg), "window_2") && child(menu(dlg), "window_5"));
        QCOMPARE(windowLabel(dlg, 0) + windowLabel(dlg, 1) + windowLabel(dlg, 3) + windowLabel(dlg, 4),
                 QStringLiteral("DVI"));   // no name where no source
        QCOMPARE(at(dlg), QStringLiteral("2:-1"));   // window 0 names no input: HDMI1, nothing in use
        for (int w : {1, 3, 4}) {   // DVI; no valid source in 3 and 4: the tab stays, nothing is marked
            clickWindow(dlg, w);
            QCOMPARE(at(dlg), QString::fromLatin1(w == 1 ? "1:0" : "1:-1"));
        }
        click(&dlg, "Button_HDMI4");
        QCOMPARE(c331_manage::para_update.load(), u8(0));   // looking writes nothing
        // forty crops on HDMI2: seven pages; deleted from outside while page 5 shows: a page past the last
        for (int k = 0; k < 40; ++k)
            setCrop(k, 3, k + 1);
        refresh(env, dlg);
        click(&dlg, "Button_HDMI2");
        for (int p = 1; p <= 6; ++p)
            click(area(dlg), "Button_next");
        QCOMPARE(labelText(&dlg, "label_HDMI2_num") + QString::number(dlg.page()) + page(dlg) + tileName(dlg, 0) + ' ' +
                     tileName(dlg, 4), QStringLiteral("(41)65<HDMI2_crop36 HDMI2_crop40"));
        click(area(dlg), "Button_previous");
        for (int k = 5; k < 40; ++k)
            put16(Img::crop(k), 0);
        refresh(env, dlg);
        QCOMPARE(QString::number(dlg.page()) + page(dlg) + labelText(&dlg, "label_HDMI2_num"), QStringLiteral("50<(6)"));
        // five crops: one page of six; a sixth: a second page holding it alone
        click(&dlg, "Button_HDMI2");
        QCOMPARE(page(dlg), QStringLiteral("6"));
        setCrop(5, 3, 6);
        refresh(env, dlg);
        click(area(dlg), "Button_next");
        QCOMPARE(tileName(dlg, 0) + page(dlg), QStringLiteral("HDMI2_crop61<"));
        // from here the scaler passes before each refresh; windows 0 and 2 on HDMI1 and HDMI2
        c331_manage::pInstance();
        setWindow(0, 1, 2);
        setWindow(2, 1, 3);
        refresh(env, dlg);
        clickWindow(dlg, 2);
        for (const char *seen : {"1920x1080@60Hz:/png/HDMI13_lv.png", "No signal:/png/HDMI13.png"}) {   // one field back to 0
            InputTiming<u8>(ram()->ram_para, 3).set(1920, 1080, seen[0] == '1' ? 60 : 0);
            refresh(env, dlg);
            QCOMPARE(tileSize(dlg, 0) + res(&dlg, "label_HDMI2"), QString::fromLatin1(seen));
        }
        // a PC writes window 2's source and a crop: label, tab and counts follow
        setCrop(1, 0, 1);
        setWindow(2, 1, 1, 0x80);   // record 1: EXT crop 1
        refresh(env, dlg);
        QCOMPARE(windowLabel(dlg, 2) + ' ' + at(dlg) + labelText(&dlg, "label_EXT_num"), QStringLiteral("EXT_Crop1 0:1(2)"));
        put16(Img::crop(1), 0);   // then deleted from outside
        refresh(env, dlg);
        QCOMPARE(windowLabel(dlg, 2) + ' ' + at(dlg) + labelText(&dlg, "label_EXT_num"), QStringLiteral(" 0:-1(1)"));
        // the selected window leaves the menu (off, or an on word the scaler also reads as off): back to window 0
        for (int offWord : {0, 2}) {
            setWindow(2, 1, 1, 0x80);
            refresh(env, dlg);
            clickWindow(dlg, 2);
            setWindow(2, offWord, 1, 0x80);
            refresh(env, dlg);
            QVERIFY(!child(menu(dlg), "window_2") && dlg.selectedWindow() == 0 && dlg.selectedInput() == 2);
        }
        // code 103 recounts even when the crop table matches the saved copy
        setCrop(2, 0, 2);
        env.settle();
        refresh(env, dlg, 103);
        QCOMPARE(labelText(&dlg, "label_EXT_num"), QStringLiteral("(2)"));
        ram()->ram_para[Img::LANGUAGE] = 2;   // changed from outside: title and tiles
        refresh(env, dlg);
        QCOMPARE(labelText(&dlg, "label_title") + ' ' + tileSize(dlg, 0), QStringLiteral("Переключение источника Нет сигнала"));
    }

    // Crop records out of crop-number order and mixed across inputs, as after deletes
    // and re-adds: tiles, marks and labels go by crop number. User names shown as plain
    // text; the tapped tile outlives its own click; the pop-up and Back.
    void tapsNamesAndBack()
    {
        ScreenEnv env;
        setWindow(0, 1, 2);
        setWindow(1, 1, 2);
        for (int k = 0; k <= 9; ++k)   // HDMI1 crops 1, 2, then HDMI3 crops 8..1
            setCrop(k, k < 2 ? 2 : 4, k < 2 ? k + 1 : 10 - k);
        put16(Img::CURRENT_MODE, 3);
        env.settle();
        env.root.write(QStringLiteral("/data/configs/alias.json"), R"({"namelist":{"source":[{"id":2,"valid":"on",
            "name":"<b>Cam</b>"}, {"id":1,"valid":"off","name":"Hidden"}, {"id":0,"valid":"on","name":""}],
            "crop":[{"id":1,"valid":"on","name":"<i>Stage left</i> & a very long crop name"}]}})");
        auto mode = [] { return ram()->get_u16(Img::CURRENT_MODE); };
        QPointer<InputChoose> dlg = g_inputchoose = new InputChoose;
        g_page_focus = PAGE_INPUT_CHOICE;
        dlg->show();
        QLabel *hdmi1 = child<QLabel>(dlg, "label_HDMI1_text");
        QVERIFY(hdmi1->textFormat() == Qt::PlainText && hdmi1->text().startsWith(QStringLiteral("<b>")));
        QCOMPARE(labelText(dlg, "label_DVI_text") + labelText(dlg, "label_EXT_text"),
                 QStringLiteral("DVIEXT"));   // switched off, empty: the input's own name
        const QString named = tileName(*dlg, 2);
        QVERIFY(named.startsWith(QStringLiteral("<i>Stage")) && named.endsWith(QChar(0x2026)));
        clickWindow(*dlg, 1);
        click(dlg, "Button_HDMI3");
        QCOMPARE(tileName(*dlg, 3), QStringLiteral("HDMI3_crop3"));
        click(area(*dlg), "Button_next");
        clickTile(*dlg, 1);   // crop 7, record 3
        QVERIFY(source(1) == "3/80" && source(0) == "2/0" && mode() == 0 && c331_manage::para_update == 1);
        QCOMPARE(windowLabel(*dlg, 1) + ' ' + at(*dlg), QStringLiteral("HDMI3_Crop7 4:1"));
        // the refresh reselects page 0; a user mode change still pending is kept
        refresh(env, *dlg);
        QCOMPARE(dlg->page(), u8(0));
        put16(Img::CURRENT_MODE, 5);
        clickTile(*dlg, 0);
        QVERIFY(source(1) == "4/0" && mode() == 5 && windowLabel(*dlg, 1) == "HDMI3");
        // the tile already in use still writes and clears the current mode
        refresh(env, *dlg);
        QCOMPARE(at(*dlg), QStringLiteral("4:0"));
        clickTile(*dlg, 0);
        QVERIFY(c331_manage::para_update == 1 && mode() == 0);
        // crops deleted from outside, tiles not yet rebuilt: a gone crop changes nothing
        refresh(env, *dlg);
        for (int k = 2; k <= 9; ++k)
            put16(Img::crop(k), 0);
        ram()->QelCropSourceInit();
        clickTile(*dlg, 2);
        QVERIFY(c331_manage::para_update == 0 && source(1) == "4/0");
        // the tapped button outlives its own click and goes with the next turn
        clickWindow(*dlg, 0);
        QPointer<QPushButton> tapped = child<QPushButton>(area(*dlg), "1");
        QPointer<QWidget> oldArea = area(*dlg);
        QTest::mouseClick(tapped.data(), Qt::LeftButton);
        QVERIFY(tapped && oldArea && oldArea->isHidden() && area(*dlg) != oldArea.data());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!tapped && !oldArea && at(*dlg) == "2:1");
        click(area(*dlg), "Button_menu");   // no EDID screen in this build: a tap only closes the pop-up
        click(dlg, "button_EDID");
        QVERIFY(child(dlg, "button_inputcut")->isHidden() && child(dlg, "button_EDID")->isHidden() &&
                g_page_focus == PAGE_INPUT_CHOICE);
        click(dlg, "Button_back");   // to the main menu: closed and gone
        QVERIFY(!g_inputchoose && !dlg && g_page_focus == PAGE_MAIN);
    }
};

QTEST_MAIN(TestInputChoose)
#include "test_inputchoose.moc"
