#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstring>

#include "core/global.h"
#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"
#include "ui/input/inputchoose.h"
#include "ui/picture/imagelayout.h"
#include "ui/shell/screens.h"

namespace {

QelRamPara *ram() { return QelRamPara::p_qelrampara_config; }
void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
// Image and shadow alike, as if saved: the screen sees no change.
void commit() { std::memcpy(ram()->ram_para_shadow, ram()->ram_para, Img::SIZE); }
void put16(int off, u16 v) { ram()->set_u16(off, v); }

void setCrop(int record, int slot, int number, int w = 640, int h = 360)
{
    const int o = Img::crop(record);
    put16(o, u16(0x8000 | ((number - 1) << 8) | slot));
    put16(o + 6, u16(w));
    put16(o + 8, u16(h));
}

void setWindow(int w, int on, int source, int flag = 0)
{
    put16(Img::window(w, Img::W_ON), u16(on));
    ram()->ram_para[Img::window(w, Img::W_SOURCE)] = u8(source);
    ram()->ram_para[Img::window(w, Img::W_CROP_FLAG)] = u8(flag);
}

void setTiming(int slot, int w, int h, int rate)
{
    const int o = Img::INPUT_TIMING + Img::INPUT_TIMING_SIZE * slot;
    put16(o, u16(w));
    put16(o + 2, u16(h));
    put16(o + 4, u16(rate));
}

// The refresh as the shell runs it after the scaler pass.
void refresh(InputChoose &dlg, int code = 1)
{
    if (c331_manage::p_c331_manage)
        c331_manage::p_c331_manage->pass();
    dlg.syncUpdate(code);
    commit();
    c331_manage::para_update = 0;
    flush();
}

QFrame *area(QWidget &dlg) { return dlg.findChild<QFrame *>(QStringLiteral("frame")); }
QFrame *menu(QWidget &dlg) { return dlg.findChild<QFrame *>(QStringLiteral("menu_frame")); }

template <class T = QWidget>
T *child(QWidget *in, const QString &name) { return in ? in->findChild<T *>(name) : nullptr; }

QString text(QWidget *in, const QString &name)
{
    QLabel *l = child<QLabel>(in, name);
    return l ? l->text() : QStringLiteral("<none>");
}

QString res(QWidget *in, const QString &name)
{
    QWidget *w = child(in, name);
    return w ? w->property("res").toString() : QStringLiteral("<none>");
}

void click(QWidget *in, const QString &name)
{
    QPushButton *b = child<QPushButton>(in, name);
    QVERIFY2(b, qPrintable(name));
    QTest::mouseClick(b, Qt::LeftButton);
    flush();
}

void clickTile(InputChoose &dlg, int i) { click(area(dlg), QString::number(i)); }
void clickWindow(InputChoose &dlg, int w) { click(menu(dlg), QString::number(w)); }
QString tileName(InputChoose &dlg, int i) { return text(area(dlg), QStringLiteral("name_%1").arg(i)); }
QString tileSize(InputChoose &dlg, int i) { return text(area(dlg), QStringLiteral("size_%1").arg(i)); }
QString windowLabel(InputChoose &dlg, int w) { return text(menu(dlg), QStringLiteral("window_name_%1").arg(w)); }
int tileCount(InputChoose &dlg) { return area(dlg)->findChildren<QFrame *>(QStringLiteral("source_frame")).size(); }
int tabX(InputChoose &dlg) { return child(&dlg, QStringLiteral("frame1"))->x(); }
bool hasPageButton(InputChoose &dlg, const char *name) { return child(area(dlg), QLatin1String(name)); }

// On-page index of the tile carrying the badge, -1 when none.
int markedTile(InputChoose &dlg)
{
    const QList<QLabel *> badges = area(dlg)->findChildren<QLabel *>(QRegularExpression(QStringLiteral("^badge_")));
    if (badges.size() != 1)
        return badges.isEmpty() ? -1 : -2;
    return badges.first()->objectName().mid(6).toInt();
}

} // namespace

class TestInputChoose : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        c331_manage::para_update = 0;
        g_inputchoose = nullptr;
        g_imagelayout = nullptr;
    }

    void windowMenuAndTabs();
    void pagingThroughCrops();
    void sourceTapWritesWindow();
    void refreshAfterScalerPass();
    void fiveLanguages();
    void markedTileFollowsCropNumber();
    void invalidSourceShowsNothing();
    void namesPlainAndContainersDeferred();
    void popupButtons();
    void backAndLayoutRoundTrip();
};

void TestInputChoose::windowMenuAndTabs()
{
    TestRoot root;
    QelRamPara::pInstance();
    setWindow(0, 1, 2);
    setWindow(1, 1, 1);      // DVI
    setWindow(2, 2, 3);      // on word 2: not listed
    setWindow(3, 1, 0);      // EXT
    setWindow(5, 0x0101, 4); // low byte 1: listed
    setTiming(1, 1280, 720, 50);
    commit();

    InputChoose dlg;
    dlg.show();
    QFrame *m = menu(dlg);
    QCOMPARE(m->geometry(), QRect(0, 64, 800, 96));
    // packed left in window order
    QCOMPARE(child(m, QStringLiteral("window_0"))->x(), 20);
    QCOMPARE(child(m, QStringLiteral("window_1"))->x(), 150);
    QVERIFY(!child(m, QStringLiteral("window_2")));
    QCOMPARE(child(m, QStringLiteral("window_3"))->x(), 280);
    QVERIFY(!child(m, QStringLiteral("window_4")));
    QCOMPARE(text(m, QStringLiteral("window_5")), QStringLiteral("6"));
    QCOMPARE(child(m, QStringLiteral("window_5"))->x(), 410);
    QCOMPARE(windowLabel(dlg, 1), QStringLiteral("DVI"));
    QCOMPARE(windowLabel(dlg, 3), QStringLiteral("EXT"));
    QWidget *sel = child(m, QStringLiteral("select_frame"));
    QCOMPARE(sel->geometry(), QRect(17, 0, 126, 96));

    // window 0 shows HDMI1: that tab, tile 0 in use
    QCOMPARE(tabX(dlg), 20);
    QCOMPARE(tileCount(dlg), 1);
    QCOMPARE(tileName(dlg, 0), QStringLiteral("HDMI1"));
    QCOMPARE(tileSize(dlg, 0), QStringLiteral("No signal"));
    QCOMPARE(markedTile(dlg), 0);
    QCOMPARE(res(area(dlg), QStringLiteral("state_0")), QStringLiteral(":/png/state_on.png"));
    QCOMPARE(res(area(dlg), QStringLiteral("icon_0")), QStringLiteral(":/png/HDMI.png"));
    QVERIFY(!hasPageButton(dlg, "Button_next") && !hasPageButton(dlg, "Button_previous"));
    QCOMPARE(text(&dlg, QStringLiteral("label_HDMI1_num")), QStringLiteral("(1)"));
    QCOMPARE(res(&dlg, QStringLiteral("label_DVI")), QStringLiteral(":/png/dvilv.png"));
    QCOMPARE(res(&dlg, QStringLiteral("label_HDMI1")), QStringLiteral(":/png/HDMI13.png"));
    QCOMPARE(res(&dlg, QStringLiteral("label_HDMI3")), QStringLiteral(":/png/HDMI20.png"));
    QCOMPARE(res(&dlg, QStringLiteral("label_EXT")), QStringLiteral(":/png/HDMI.png"));
    QVERIFY(child(&dlg, QStringLiteral("label_12"))->isHidden());

    // menu tile 2 is window 1, on DVI
    clickWindow(dlg, 1);
    QCOMPARE(dlg.selectedWindow(), u8(1));
    QCOMPARE(tabX(dlg), 540);
    QCOMPARE(sel->geometry(), QRect(147, 0, 126, 96));
    QCOMPARE(tileSize(dlg, 0), QStringLiteral("1280x720@50Hz"));
    QCOMPARE(res(area(dlg), QStringLiteral("icon_0")), QStringLiteral(":/png/DVI.png"));
    QCOMPARE(markedTile(dlg), 0);

    // another tab: the window's source is elsewhere, nothing in use
    click(&dlg, QStringLiteral("Button_HDMI4"));
    QCOMPARE(tabX(dlg), 410);
    QCOMPARE(dlg.selectedInput(), u8(5));
    QCOMPARE(tileName(dlg, 0), QStringLiteral("HDMI4"));
    QCOMPARE(markedTile(dlg), -1);
    QCOMPARE(res(area(dlg), QStringLiteral("state_0")), QStringLiteral(":/png/state_off.png"));
    click(&dlg, QStringLiteral("Button_EXT"));
    QCOMPARE(tabX(dlg), 670);
    QCOMPARE(c331_manage::para_update.load(), u8(0));   // looking writes nothing
    QelRamPara::destroyInstance();
}

void TestInputChoose::pagingThroughCrops()
{
    TestRoot root;
    QelRamPara::pInstance();
    setWindow(0, 1, 3);   // HDMI2
    for (int k = 0; k < 40; ++k)
        setCrop(k, 3, k + 1, 100 + k, 50 + k);
    commit();

    InputChoose dlg;
    dlg.show();
    QCOMPARE(text(&dlg, QStringLiteral("label_HDMI2_num")), QStringLiteral("(41)"));
    QCOMPARE(dlg.lastPage(), u8(6));
    QCOMPARE(tileCount(dlg), 6);
    QCOMPARE(tileName(dlg, 1), QStringLiteral("HDMI2_crop1"));
    QCOMPARE(tileSize(dlg, 1), QStringLiteral("100x50"));
    QCOMPARE(area(dlg)->findChildren<QFrame *>(QStringLiteral("source_frame")).at(5)->pos(), QPoint(480, 115));
    QVERIFY(hasPageButton(dlg, "Button_next") && !hasPageButton(dlg, "Button_previous"));

    for (int p = 1; p <= 6; ++p)
        click(area(dlg), QStringLiteral("Button_next"));
    QCOMPARE(dlg.page(), u8(6));
    QCOMPARE(tileCount(dlg), 5);
    QCOMPARE(tileName(dlg, 0), QStringLiteral("HDMI2_crop36"));
    QCOMPARE(tileName(dlg, 4), QStringLiteral("HDMI2_crop40"));
    QCOMPARE(tileSize(dlg, 4), QStringLiteral("139x89"));
    QVERIFY(!hasPageButton(dlg, "Button_next"));
    QCOMPARE(child(area(dlg), QStringLiteral("Button_previous"))->geometry(), QRect(715, 95, 50, 50));
    QCOMPARE(res(area(dlg), QStringLiteral("Button_previous")), QStringLiteral(":/png/previous.png"));
    click(area(dlg), QStringLiteral("Button_previous"));
    QCOMPARE(tileName(dlg, 0), QStringLiteral("HDMI2_crop30"));

    // crops deleted from outside while page 5 shows: a page past the last
    for (int k = 5; k < 40; ++k)
        put16(Img::crop(k), 0);
    refresh(dlg);
    QCOMPARE(dlg.page(), u8(5));
    QCOMPARE(tileCount(dlg), 0);
    QVERIFY(hasPageButton(dlg, "Button_menu") && hasPageButton(dlg, "Button_previous"));
    QVERIFY(!hasPageButton(dlg, "Button_next"));
    QCOMPARE(text(&dlg, QStringLiteral("label_HDMI2_num")), QStringLiteral("(6)"));

    // five crops: one page of six; a sixth: a second page holding it alone
    click(&dlg, QStringLiteral("Button_HDMI2"));
    QCOMPARE(tileCount(dlg), 6);
    QVERIFY(!hasPageButton(dlg, "Button_next"));
    setCrop(5, 3, 6);
    refresh(dlg);
    click(area(dlg), QStringLiteral("Button_next"));
    QCOMPARE(tileCount(dlg), 1);
    QCOMPARE(tileName(dlg, 0), QStringLiteral("HDMI2_crop6"));
    QelRamPara::destroyInstance();
}

void TestInputChoose::sourceTapWritesWindow()
{
    TestRoot root;
    QelRamPara::pInstance();
    setWindow(0, 1, 2);
    setWindow(1, 1, 2);
    for (int k = 0; k < 8; ++k)
        setCrop(k, 4, k + 1);   // HDMI3
    put16(Img::CURRENT_MODE, 3);
    commit();

    InputChoose dlg;
    dlg.show();
    clickWindow(dlg, 1);
    click(&dlg, QStringLiteral("Button_HDMI3"));
    click(area(dlg), QStringLiteral("Button_next"));
    clickTile(dlg, 1);   // crop 7
    const u8 *img = ram()->ram_para;
    QCOMPARE(img[Img::window(1, Img::W_SOURCE)], u8(6));
    QCOMPARE(img[Img::window(1, Img::W_CROP_FLAG)], u8(0x80));
    QCOMPARE(img[Img::window(0, Img::W_SOURCE)], u8(2));
    QCOMPARE(ram()->get_u16(Img::CURRENT_MODE), u16(0));
    QCOMPARE(c331_manage::para_update.load(), u8(1));
    QCOMPARE(windowLabel(dlg, 1), QStringLiteral("HDMI3_Crop7"));
    QCOMPARE(markedTile(dlg), 1);

    // the refresh reselects: page 0 of the input
    refresh(dlg);
    QCOMPARE(dlg.page(), u8(0));
    // a change of the current user mode pending: the tap keeps it
    put16(Img::CURRENT_MODE, 5);
    clickTile(dlg, 0);
    QCOMPARE(img[Img::window(1, Img::W_SOURCE)], u8(4));
    QCOMPARE(img[Img::window(1, Img::W_CROP_FLAG)], u8(0));
    QCOMPARE(ram()->get_u16(Img::CURRENT_MODE), u16(5));
    QCOMPARE(windowLabel(dlg, 1), QStringLiteral("HDMI3"));
    refresh(dlg);

    // the tile already in use still writes and clears the current mode
    QCOMPARE(markedTile(dlg), 0);
    clickTile(dlg, 0);
    QCOMPARE(c331_manage::para_update.load(), u8(1));
    QCOMPARE(ram()->get_u16(Img::CURRENT_MODE), u16(0));

    // crops deleted from outside, tiles not yet rebuilt: a crop that no
    // longer exists changes nothing
    refresh(dlg);
    for (int k = 1; k < 8; ++k)
        put16(Img::crop(k), 0);
    ram()->QelCropSourceInit();
    clickTile(dlg, 3);
    QCOMPARE(c331_manage::para_update.load(), u8(0));
    QCOMPARE(img[Img::window(1, Img::W_SOURCE)], u8(4));
    QCOMPARE(img[Img::window(1, Img::W_CROP_FLAG)], u8(0));
    QelRamPara::destroyInstance();
}

void TestInputChoose::refreshAfterScalerPass()
{
    TestRoot root;
    QelRamPara::pInstance();
    c331_manage::pInstance();
    setWindow(0, 1, 2);
    setWindow(2, 1, 3);
    setCrop(0, 3, 1);
    commit();

    InputChoose dlg;
    dlg.show();
    clickWindow(dlg, 2);
    QCOMPARE(dlg.selectedInput(), u8(3));

    // signal on HDMI2 (shown) and HDMI4; then one field back to 0
    setTiming(3, 1920, 1080, 60);
    setTiming(5, 3840, 2160, 30);
    refresh(dlg);
    QCOMPARE(tileSize(dlg, 0), QStringLiteral("1920x1080@60Hz"));
    QCOMPARE(res(&dlg, QStringLiteral("label_HDMI2")), QStringLiteral(":/png/HDMI13_lv.png"));
    QCOMPARE(res(&dlg, QStringLiteral("label_HDMI4")), QStringLiteral(":/png/HDMI20_lv.png"));
    setTiming(3, 1920, 1080, 0);
    refresh(dlg);
    QCOMPARE(tileSize(dlg, 0), QStringLiteral("No signal"));
    QCOMPARE(res(&dlg, QStringLiteral("label_HDMI2")), QStringLiteral(":/png/HDMI13.png"));

    // a PC writes window 2's source and a crop: label, tab and counts follow
    setCrop(1, 0, 1);
    setWindow(2, 1, 1, 0x80);   // record 1: EXT crop 1
    refresh(dlg);
    QCOMPARE(windowLabel(dlg, 2), QStringLiteral("EXT_Crop1"));
    QCOMPARE(dlg.selectedInput(), u8(0));
    QCOMPARE(markedTile(dlg), 1);
    QCOMPARE(text(&dlg, QStringLiteral("label_EXT_num")), QStringLiteral("(2)"));

    // window 3 switched on: the menu grows, the selection stays
    setWindow(3, 1, 5);
    refresh(dlg);
    QVERIFY(child(menu(dlg), QStringLiteral("window_3")));
    QCOMPARE(dlg.selectedWindow(), u8(2));
    QCOMPARE(child(menu(dlg), QStringLiteral("select_frame"))->x(), 147);
    QCOMPARE(windowLabel(dlg, 2), QStringLiteral("EXT"));   // a rebuilt menu names the input only

    // the selected window switched off: back to window 0
    setWindow(2, 0, 1, 0x80);
    refresh(dlg);
    QCOMPARE(dlg.selectedWindow(), u8(0));
    QCOMPARE(dlg.selectedInput(), u8(2));
    QVERIFY(!child(menu(dlg), QStringLiteral("window_2")));
    QCOMPARE(child(menu(dlg), QStringLiteral("select_frame"))->x(), 17);

    // code 103 recounts even when the crop table matches the saved copy
    setCrop(2, 0, 2);
    commit();
    refresh(dlg, 103);
    QCOMPARE(text(&dlg, QStringLiteral("label_EXT_num")), QStringLiteral("(3)"));

    // language changed from outside: title and tiles
    ram()->ram_para[Img::LANGUAGE] = 2;
    refresh(dlg);
    QCOMPARE(text(&dlg, QStringLiteral("label_title")), QStringLiteral("Переключение источника"));
    QCOMPARE(tileSize(dlg, 0), QStringLiteral("Нет сигнала"));
    c331_manage::destroyInstance();
    QelRamPara::destroyInstance();
}

void TestInputChoose::fiveLanguages()
{
    struct Case
    {
        int lang, valid;
        const char *title, *cut, *edid, *nosignal, *inuse;
    };
    const Case cases[] = {
        {0, 0x1F, "信源切换", "输入截取", "设置EDID", "无信号", "使用中\u00AD"},
        {1, 0x1F, "Source switch", "Input intercept", "EDID Settings", "No signal", "Using"},
        {2, 0x1F, "Переключение источника", "Источник", "Настройка EDID", "Нет сигнала", "Использовать"},
        {3, 0x1F, "Chuyển đổi nguồn", "Chặn nguồn vào", "Cài đặt EDID", "Không có tín hiệu", "sử dụng"},
        {4, 0x1F, "信源切換", "輸入截取", "設置EDID", "無信號", "使用中\u00AD"},
        {2, 0x1B, "Source switch", "Input intercept", "EDID Settings", "No signal", "Using"},
    };
    for (const Case &c : cases) {
        TestRoot root;
        QelRamPara::pInstance();
        g_language = u8(c.lang);
        g_lcd_lang_valid = c.valid;
        InputChoose dlg;
        dlg.show();
        QPushButton *cut = child<QPushButton>(&dlg, QStringLiteral("button_inputcut"));
        QPushButton *edid = child<QPushButton>(&dlg, QStringLiteral("button_EDID"));
        QCOMPARE(text(&dlg, QStringLiteral("label_title")), QString::fromUtf8(c.title));
        QCOMPARE(cut->text(), QString::fromUtf8(c.cut));
        QCOMPARE(edid->text(), QString::fromUtf8(c.edid));
        QCOMPARE(cut->geometry(), QRect(680, 310, 100, 60));
        QCOMPARE(edid->geometry(), QRect(680, 370, 100, 60));
        QCOMPARE(tileSize(dlg, 0), QString::fromUtf8(c.nosignal));
        QCOMPARE(text(area(dlg), QStringLiteral("badge_0")), QString::fromUtf8(c.inuse));
        QCOMPARE(text(&dlg, QStringLiteral("label_DVI_text")), QStringLiteral("DVI"));
        QelRamPara::destroyInstance();
    }
}

// Records out of crop-number order, as after deletes and re-adds.
void TestInputChoose::markedTileFollowsCropNumber()
{
    TestRoot root;
    QelRamPara::pInstance();
    setCrop(0, 2, 3);   // HDMI1 crop 3 in record 0
    setCrop(1, 3, 1);   // HDMI2 crop 1
    setCrop(2, 2, 1);   // HDMI1 crop 1
    setCrop(3, 2, 2);   // HDMI1 crop 2
    setWindow(0, 1, 0, 0x80);
    commit();

    InputChoose dlg;
    dlg.show();
    QCOMPARE(tileName(dlg, 3), QStringLiteral("HDMI1_crop3"));
    QCOMPARE(markedTile(dlg), 3);
    clickTile(dlg, 2);
    QCOMPARE(ram()->ram_para[Img::window(0, Img::W_SOURCE)], u8(3));
    QCOMPARE(markedTile(dlg), 2);
    QCOMPARE(windowLabel(dlg, 0), QStringLiteral("HDMI1_Crop2"));
    clickTile(dlg, 3);
    QCOMPARE(ram()->ram_para[Img::window(0, Img::W_SOURCE)], u8(0));
    QCOMPARE(markedTile(dlg), 3);
    QCOMPARE(windowLabel(dlg, 0), QStringLiteral("HDMI1_Crop3"));
    QelRamPara::destroyInstance();
}

void TestInputChoose::invalidSourceShowsNothing()
{
    TestRoot root;
    QelRamPara::pInstance();
    setWindow(0, 1, 9);           // no such input
    setWindow(1, 1, 7, 0x80);     // free crop record
    setWindow(2, 1, 45, 0x80);    // past the crop table
    setWindow(3, 1, 1);           // DVI
    commit();

    InputChoose dlg;
    dlg.show();
    QCOMPARE(dlg.selectedInput(), u8(2));
    QCOMPARE(tabX(dlg), 20);
    QCOMPARE(tileName(dlg, 0), QStringLiteral("HDMI1"));
    QCOMPARE(markedTile(dlg), -1);
    for (int w = 0; w < 3; ++w)
        QCOMPARE(windowLabel(dlg, w), QString());

    clickWindow(dlg, 3);
    QCOMPARE(markedTile(dlg), 0);
    // no valid source: the tab stays, nothing is marked
    for (int w : {1, 2}) {
        clickWindow(dlg, w);
        QCOMPARE(dlg.selectedWindow(), u8(w));
        QCOMPARE(tabX(dlg), 540);
        QCOMPARE(markedTile(dlg), -1);
    }

    // the crop a window names appears, then is deleted from outside
    setCrop(7, 4, 1);
    refresh(dlg);
    QCOMPARE(windowLabel(dlg, 1), QStringLiteral("HDMI3_Crop1"));
    put16(Img::crop(7), 0);
    refresh(dlg);
    QCOMPARE(windowLabel(dlg, 1), QString());
    QCOMPARE(dlg.selectedInput(), u8(1));
    QelRamPara::destroyInstance();
}

void TestInputChoose::namesPlainAndContainersDeferred()
{
    TestRoot root;
    QelRamPara::pInstance();
    setCrop(0, 2, 1);
    setCrop(1, 2, 2);
    setWindow(0, 1, 2);
    commit();
    root.write(QStringLiteral("/data/configs/alias.json"),
               "{\"namelist\":{\"source\":[{\"id\":2,\"valid\":\"on\",\"name\":\"<b>Cam</b>\"},"
               "{\"id\":1,\"valid\":\"off\",\"name\":\"Hidden\"},{\"id\":0,\"valid\":\"on\",\"name\":\"\"}],"
               "\"crop\":[{\"id\":1,\"valid\":\"on\",\"name\":\"<i>Stage left</i> & a very long crop name\"}]}}");

    InputChoose dlg;
    dlg.show();
    QLabel *hdmi1 = child<QLabel>(&dlg, QStringLiteral("label_HDMI1_text"));
    QCOMPARE(hdmi1->textFormat(), Qt::PlainText);
    QVERIFY(hdmi1->text().startsWith(QStringLiteral("<b>")));
    QVERIFY(hdmi1->fontMetrics().horizontalAdvance(hdmi1->text()) <= 66);
    QCOMPARE(text(&dlg, QStringLiteral("label_DVI_text")), QStringLiteral("DVI"));   // switched off
    QCOMPARE(text(&dlg, QStringLiteral("label_EXT_text")), QStringLiteral("EXT"));   // empty name
    QCOMPARE(tileName(dlg, 1), QStringLiteral("HDMI1_crop1"));
    QLabel *named = child<QLabel>(area(dlg), QStringLiteral("name_2"));
    QCOMPARE(named->textFormat(), Qt::PlainText);
    QVERIFY(named->text().startsWith(QStringLiteral("<i>Stage")));
    QVERIFY(named->text().endsWith(QChar(0x2026)));
    QVERIFY(named->fontMetrics().horizontalAdvance(named->text()) <= 172);

    // the tapped button outlives its own click and goes with the next turn
    QPointer<QPushButton> tapped = child<QPushButton>(area(dlg), QStringLiteral("1"));
    QPointer<QFrame> oldArea = area(dlg);
    QTest::mouseClick(tapped.data(), Qt::LeftButton);
    QVERIFY(tapped);
    QVERIFY(oldArea->isHidden());
    QVERIFY(area(dlg) != oldArea.data());
    flush();
    QVERIFY(!tapped && !oldArea);
    QCOMPARE(markedTile(dlg), 1);
    QelRamPara::destroyInstance();
}

void TestInputChoose::popupButtons()
{
    TestRoot root;
    QelRamPara::pInstance();
    g_page_focus = PAGE_INPUT_CHOICE;
    InputChoose dlg;
    dlg.show();
    QPushButton *cut = child<QPushButton>(&dlg, QStringLiteral("button_inputcut"));
    QPushButton *edid = child<QPushButton>(&dlg, QStringLiteral("button_EDID"));
    QVERIFY(cut->isHidden() && edid->isHidden());
    QCOMPARE(res(area(dlg), QStringLiteral("Button_menu")), QStringLiteral(":/png/menu.png"));
    click(area(dlg), QStringLiteral("Button_menu"));
    QVERIFY(!cut->isHidden() && !edid->isHidden());
    QCOMPARE(dlg.childAt(700, 330), cut);   // above the tile area
    click(area(dlg), QStringLiteral("Button_menu"));
    QVERIFY(cut->isHidden() && edid->isHidden());
    // no crop or EDID screen in this build: a tap only closes the pop-up
    for (QPushButton *b : {cut, edid}) {
        click(area(dlg), QStringLiteral("Button_menu"));
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(cut->isHidden() && edid->isHidden());
        QCOMPARE(g_page_focus, u8(PAGE_INPUT_CHOICE));
    }
    QelRamPara::destroyInstance();
}

void TestInputChoose::backAndLayoutRoundTrip()
{
    TestRoot root;
    QelRamPara::pInstance();
    setWindow(0, 1, 2);
    setWindow(1, 1, 2);
    commit();

    // from the main menu
    QPointer<InputChoose> dlg = new InputChoose;
    g_inputchoose = dlg.data();
    g_page_focus = PAGE_INPUT_CHOICE;
    dlg->show();
    QCOMPARE(res(dlg.data(), QStringLiteral("Button_back")), QStringLiteral(":/png/back.png"));
    click(dlg.data(), QStringLiteral("Button_back"));
    QVERIFY(!g_inputchoose && !dlg);
    QCOMPARE(g_page_focus, u8(PAGE_MAIN));

    // from the window layout screen: DVI for its window 2, then back
    QPointer<ImageLayout> layout = new ImageLayout;
    g_imagelayout = layout.data();
    g_page_focus = PAGE_LAYOUT;
    layout->show();
    click(layout.data(), QStringLiteral("1"));
    bool ran = false;
    QTimer::singleShot(10000, [] {   // a failed step must not leave the modal run hanging
        if (QDialog *d = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            d->reject();
    });
    QTimer::singleShot(0, [&ran] {
        InputChoose *top = qobject_cast<InputChoose *>(QApplication::activeModalWidget());
        QVERIFY(top && top == g_inputchoose);
        QCOMPARE(g_page_focus, u8(PAGE_INPUT_CHOICE));
        clickWindow(*top, 1);
        click(top, QStringLiteral("Button_DVI"));
        clickTile(*top, 0);
        click(top, QStringLiteral("Button_back"));
        ran = true;
    });
    click(layout.data(), QStringLiteral("Button_source_select"));
    QVERIFY(ran);
    QVERIFY(!g_inputchoose);
    QCOMPARE(g_page_focus, u8(PAGE_LAYOUT));
    QCOMPARE(ram()->ram_para[Img::window(1, Img::W_SOURCE)], u8(1));
    QCOMPARE(layout->selected_window(), u8(1));
    QVERIFY(text(layout.data(), QStringLiteral("image_source")).endsWith(QStringLiteral("DVI")));
    g_imagelayout = nullptr;
    delete layout.data();
    QelRamPara::destroyInstance();
}

QTEST_MAIN(TestInputChoose)
#include "test_inputchoose.moc"
