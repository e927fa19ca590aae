#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <functional>

#include "core/global.h"
#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"
#include "ui/input/inputchoose.h"
#include "ui/picture/imagelayout.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/screens.h"

namespace {

QelRamPara *img() { return QelRamPara::p_qelrampara_config; }
int rec(int w, int field) { return img()->get_u16(Img::window(w, field)); }
void setRec(int w, int field, int v) { img()->set_u16(Img::window(w, field), u16(v)); }
void imageOverShadow() { std::memcpy(img()->ram_para_shadow, img()->ram_para, Img::SIZE); }

template <class T> T *child(QObject *parent, const QString &name) { return parent->findChild<T *>(name); }
QFrame *diagram(ImageLayout *s) { return child<QFrame>(s, QStringLiteral("layout_frame")); }
QPushButton *tile(ImageLayout *s, int w) { return child<QPushButton>(diagram(s), QString::number(w)); }
QString tileText(ImageLayout *s, int w) { return child<QLabel>(diagram(s), QStringLiteral("source_%1").arg(w))->text(); }
QString text(ImageLayout *s, const char *name) { return child<QLabel>(s, QString::fromLatin1(name))->text(); }
My_lineEdit *field(ImageLayout *s, char f) { return child<My_lineEdit>(s, QStringLiteral("lineEdit_%1").arg(QLatin1Char(f))); }
QComboBox *p2p(ImageLayout *s) { return child<QComboBox>(s, QStringLiteral("comboBox_P2P")); }
QString res(QObject *parent, const char *name) { return child<QWidget>(parent, QString::fromLatin1(name))->property("res").toString(); }
void click(QObject *parent, const QString &name) { QTest::mouseClick(child<QWidget>(parent, name), Qt::LeftButton); }

// Runs `inside` on the modal dialog that `open` starts (zero-delay timer).
void whileModal(const std::function<void()> &open, const std::function<void(QWidget *)> &inside)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        ran = true;
        QWidget *modal = QApplication::activeModalWidget();
        if (modal)
            inside(modal);
        if (modal && modal->isVisible())
            modal->hide();   // never leave a test hanging in exec
    });
    open();
    QVERIFY(ran);
}

// Presses the field and types on the keypad, then OK.
void type(My_lineEdit *f, const QString &digits)
{
    whileModal([f] { QTest::mouseClick(f, Qt::LeftButton); },
               [digits](QWidget *modal) {
                   QCOMPARE(modal, static_cast<QWidget *>(g_numberkeyboard));
                   for (QChar d : digits)
                       click(g_numberkeyboard, QStringLiteral("Button_") + d);
                   click(g_numberkeyboard, QStringLiteral("Button_ok"));
               });
}

}

class TestImageLayout : public QObject
{
    Q_OBJECT

    ImageLayout *open()
    {
        g_imagelayout = new ImageLayout;
        g_page_focus = PAGE_LAYOUT;
        g_imagelayout->show();
        return g_imagelayout;
    }

    void setUp()
    {
        QelRamPara::pInstance();
        imageOverShadow();
        g_numberkeyboard = new NumberKeyboard;
        c331_manage::para_update = 0;
    }
private slots:
    void cleanup()
    {
        delete g_imagelayout;
        delete g_inputchoose;
        g_inputchoose = nullptr;
        delete g_numberkeyboard;
        g_numberkeyboard = nullptr;
        c331_manage::destroyInstance();
        QelRamPara::destroyInstance();
        c331_manage::para_update = 0;
        g_language = 1;
    }

    void tilesShowEachWindowAndSelectIt()
    {
        TestRoot root;
        setUp();
        setRec(1, Img::W_ON, 1);
        setRec(1, Img::W_SOURCE, 4);
        setRec(2, Img::W_ON, 0x0101);   // low byte 1: on
        setRec(3, Img::W_ON, 2);        // neither 0 nor 1: off everywhere
        img()->set_u16(Img::crop(5), u16(0x8000 | (1 << 8) | 3));
        setRec(4, Img::W_ON, 1);
        setRec(4, Img::W_SOURCE, 0x8005);
        ImageLayout *s = open();

        const QStringList shown = {"HDMI1", "HDMI3", "HDMI1", "Close", "HDMI2", "Close"};
        for (int w = 0; w < 6; ++w) {
            QCOMPARE(tileText(s, w), shown[w]);
            QCOMPARE(tile(s, w)->geometry(), QRect(20 + 130 * w, 3, 120, 90));
        }
        QFrame *frame = child<QFrame>(diagram(s), QStringLiteral("select_frame"));
        QCOMPARE(frame->geometry(), QRect(17, 0, 126, 96));
        QVERIFY(child<QWidget>(s, QStringLiteral("button_state"))->isHidden());

        QTest::mouseClick(tile(s, 3), Qt::LeftButton);
        QCOMPARE(frame->geometry(), QRect(17 + 390, 0, 126, 96));
        QCOMPARE(text(s, "image_state"), QStringLiteral("Image state:OFF"));
        QCOMPARE(res(s, "button_state"), QStringLiteral(":/png/button_off.png"));
        QVERIFY(!child<QWidget>(s, QStringLiteral("button_state"))->isHidden());
        QCOMPARE(text(s, "image_name"), QStringLiteral("Name:image4"));

        QTest::mouseClick(tile(s, 2), Qt::LeftButton);
        QCOMPARE(text(s, "image_state"), QStringLiteral("Image state:ON"));
        QTest::mouseClick(tile(s, 4), Qt::LeftButton);
        QCOMPARE(text(s, "image_source"), QStringLiteral("Source:HDMI2"));
        QCOMPARE(int(s->selected_window()), 4);

        // a rebuild run from inside a tile's own click
        QPointer<QFrame> old = diagram(s);
        QPointer<QPushButton> pressed = tile(s, 1);
        bool alive = false;
        connect(pressed, &QPushButton::clicked, s, [&] {
            s->image_init();
            alive = pressed && old;
        });
        QTest::mouseClick(pressed, Qt::LeftButton);
        QVERIFY(alive);
        QVERIFY(diagram(s) != old);
        QCOMPARE(child<QFrame>(diagram(s), QStringLiteral("select_frame"))->x(), 17 + 130);
        QCOMPARE(text(s, "image_source"), QStringLiteral("Source:HDMI3"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!old && !pressed);
        QCOMPARE(int(c331_manage::para_update), 0);
    }

    void positionAndSizeStayOnTheCanvas()
    {
        TestRoot root;
        setUp();
        ImageLayout *s = open();
        type(field(s, 'W'), "1000");
        QCOMPARE(rec(0, Img::W_W), 1000);
        QCOMPARE(int(c331_manage::para_update), 1);
        type(field(s, 'X'), "920");
        QCOMPARE(rec(0, Img::W_X), 920);
        c331_manage::para_update = 0;
        type(field(s, 'X'), "921");
        type(field(s, 'W'), "1001");
        QCOMPARE(rec(0, Img::W_X), 920);
        QCOMPARE(rec(0, Img::W_W), 1000);
        QCOMPARE(field(s, 'X')->text(), QStringLiteral("920"));
        QCOMPARE(int(c331_manage::para_update), 0);
        type(field(s, 'X'), "0");
        type(field(s, 'W'), "1920");
        QCOMPARE(rec(0, Img::W_W), 1920);
        type(field(s, 'H'), "540");
        type(field(s, 'Y'), "540");
        type(field(s, 'Y'), "541");
        QCOMPARE(rec(0, Img::W_Y), 540);
        QCOMPARE(rec(0, Img::W_H), 540);

        // empty counts as 0 and the field stays empty
        setRec(0, Img::W_X, 100);
        s->image_para_update();
        type(field(s, 'X'), "");
        QCOMPARE(field(s, 'X')->text(), QString());
        QCOMPARE(rec(0, Img::W_X), 0);

        // unsigned 16-bit values; anything else is refused
        img()->set_u16(Img::CANVAS_W, 60000);
        type(field(s, 'W'), "960");
        type(field(s, 'X'), "40000");
        QCOMPARE(rec(0, Img::W_X), 40000);
        type(field(s, 'W'), "30000");
        QCOMPARE(rec(0, Img::W_W), 960);
        c331_manage::para_update = 0;
        g_lineedit = field(s, 'X');
        for (const char *bad : {"12a", "70000", " 5", "-1"})
            emit g_numberkeyboard->sendKeyBoardUIDataToLineEdit(QString::fromLatin1(bad));
        QCOMPARE(rec(0, Img::W_X), 40000);
        QCOMPARE(field(s, 'X')->text(), QStringLiteral("40000"));

        // a field of another screen, even with the same name, is not ours
        My_lineEdit foreign;
        foreign.setObjectName(QStringLiteral("lineEdit_X"));
        g_lineedit = &foreign;
        emit g_numberkeyboard->sendKeyBoardUIDataToLineEdit(QStringLiteral("5"));
        QCOMPARE(rec(0, Img::W_X), 40000);
        QCOMPARE(int(c331_manage::para_update), 0);
    }

    void mirrorButtons()
    {
        TestRoot root;
        setUp();
        setRec(1, Img::W_MIRROR, 7);
        img()->ram_para[Img::window(2, Img::W_MIRROR)] = 1;
        img()->ram_para[Img::window(2, Img::W_MIRROR) + 1] = 0x55;
        ImageLayout *s = open();
        QCOMPARE(res(s, "mirror1"), QStringLiteral(":/png/mirror1_on.png"));
        click(s, QStringLiteral("mirror3"));
        QCOMPARE(int(img()->ram_para[Img::window(0, Img::W_MIRROR)]), 2);
        QCOMPARE(int(c331_manage::para_update), 1);
        QCOMPARE(res(s, "mirror1"), QStringLiteral(":/png/mirror1_off.png"));
        QCOMPARE(res(s, "mirror3"), QStringLiteral(":/png/mirror3_on.png"));
        c331_manage::para_update = 0;
        click(s, QStringLiteral("mirror3"));
        QCOMPARE(int(c331_manage::para_update), 0);

        QTest::mouseClick(tile(s, 1), Qt::LeftButton);   // mirror 7: none lit
        for (const char *m : {"mirror1", "mirror2", "mirror3", "mirror4"})
            QVERIFY(res(s, m).endsWith(QStringLiteral("_off.png")));
        QTest::mouseClick(tile(s, 2), Qt::LeftButton);
        QCOMPARE(res(s, "mirror2"), QStringLiteral(":/png/mirror2_on.png"));
        click(s, QStringLiteral("mirror4"));
        QCOMPARE(int(img()->ram_para[Img::window(2, Img::W_MIRROR)]), 3);
        QCOMPARE(int(img()->ram_para[Img::window(2, Img::W_MIRROR) + 1]), 0x55);
    }

    void pointToPoint()
    {
        TestRoot root;
        setUp();
        setRec(0, Img::W_FLAGS, 0x0004);   // fade bit kept throughout
        setRec(1, Img::W_FLAGS, 0x0100);
        setRec(1, Img::W_P2P_SPLICE, 5);
        ImageLayout *s = open();
        QCOMPARE(p2p(s)->currentIndex(), 0);
        QCOMPARE(int(c331_manage::para_update), 0);

        p2p(s)->setCurrentIndex(2);
        QCOMPARE(rec(0, Img::W_FLAGS), 0x0104);
        QCOMPARE(rec(0, Img::W_P2P_SPLICE), 8);
        QCOMPARE(int(c331_manage::para_update), 1);
        c331_manage::para_update = 0;
        QMetaObject::invokeMethod(s, "on_comboBox_P2P_currentIndexChanged", Q_ARG(int, 2));
        QCOMPARE(int(c331_manage::para_update), 0);
        p2p(s)->setCurrentIndex(0);   // OFF keeps the splice word
        QCOMPARE(rec(0, Img::W_FLAGS), 0x0004);
        QCOMPARE(rec(0, Img::W_P2P_SPLICE), 8);
        p2p(s)->setCurrentIndex(3);
        QCOMPARE(rec(0, Img::W_P2P_SPLICE), 9);
        p2p(s)->setCurrentIndex(1);
        QCOMPARE(rec(0, Img::W_FLAGS), 0x0104);
        QCOMPARE(rec(0, Img::W_P2P_SPLICE), 0);

        // an unknown splice word shows no entry and is left alone
        c331_manage::para_update = 0;
        QTest::mouseClick(tile(s, 1), Qt::LeftButton);
        QCOMPARE(p2p(s)->currentIndex(), -1);
        QCOMPARE(rec(1, Img::W_P2P_SPLICE), 5);

        // a new language refills the list without writing
        QTest::mouseClick(tile(s, 0), Qt::LeftButton);
        g_language = 2;
        s->language_changed();
        QCOMPARE(p2p(s)->itemText(1), QStringLiteral("Вкл"));
        QCOMPARE(p2p(s)->currentIndex(), 1);
        QCOMPARE(rec(0, Img::W_FLAGS), 0x0104);
        QCOMPARE(int(c331_manage::para_update), 0);
    }

    void switchWindowsOnAndOffAndRefresh()
    {
        TestRoot root;
        setUp();
        setRec(2, Img::W_ON, 0x0100);   // low byte 0: off
        imageOverShadow();
        ImageLayout *s = open();
        QTest::mouseClick(tile(s, 2), Qt::LeftButton);
        QCOMPARE(text(s, "image_state"), QStringLiteral("Image state:OFF"));
        click(s, QStringLiteral("button_state"));
        QCOMPARE(rec(2, Img::W_ON), 0x0101);
        QCOMPARE(int(c331_manage::para_update), 1);
        QCOMPARE(tileText(s, 2), QStringLiteral("HDMI1"));
        QCOMPARE(res(s, "button_state"), QStringLiteral(":/png/button_on.png"));

        // the scaler applies it; the refresh rebuilds the diagram and keeps the selection
        QSignalSpy refresh(img(), &QelRamPara::sig_update_para);
        c331_manage::pInstance()->pass();
        QCOMPARE(refresh.count(), 1);
        QFrame *before = diagram(s);
        s->syncUpdate();
        imageOverShadow();
        QVERIFY(diagram(s) != before);
        QCOMPARE(child<QFrame>(diagram(s), QStringLiteral("select_frame"))->x(), 17 + 260);
        QCOMPARE(text(s, "image_name"), QStringLiteral("Name:image3"));
        QCOMPARE(tileText(s, 2), QStringLiteral("HDMI1"));

        // a change elsewhere only refills the editor
        setRec(2, Img::W_X, 77);
        before = diagram(s);
        s->syncUpdate();
        QCOMPARE(diagram(s), before);
        QCOMPARE(field(s, 'X')->text(), QStringLiteral("77"));

        click(s, QStringLiteral("button_state"));
        QCOMPARE(rec(2, Img::W_ON), 0x0100);
        QCOMPARE(tileText(s, 2), QStringLiteral("Close"));

        // a language change through the image repaints texts and tiles
        img()->ram_para[Img::LANGUAGE] = 0;
        s->syncUpdate();
        QCOMPARE(text(s, "label_title"), QStringLiteral("画面布局"));
        QCOMPARE(tileText(s, 3), QStringLiteral("未开启"));
        QCOMPARE(text(s, "image_state"), QStringLiteral("画面状态:关闭"));
    }

    void roundTripThroughInputChoice()
    {
        TestRoot root;
        setUp();
        setRec(1, Img::W_ON, 1);
        setRec(1, Img::W_X, 100);
        setRec(1, Img::W_FLAGS, 0x0100);
        setRec(1, Img::W_P2P_SPLICE, 8);
        imageOverShadow();
        ImageLayout *s = open();
        QTest::mouseClick(tile(s, 1), Qt::LeftButton);
        QFrame *before = diagram(s);
        InputChoose *reused = new InputChoose;
        g_inputchoose = reused;

        whileModal([s] { click(s, QStringLiteral("Button_source_select")); },
                   [&](QWidget *modal) {
                       QCOMPARE(modal, static_cast<QWidget *>(reused));
                       QCOMPARE(int(g_page_focus), int(PAGE_INPUT_CHOICE));
                       QTest::mouseClick(child<QPushButton>(child<QFrame>(modal, "menu_frame"), "1"), Qt::LeftButton);
                       click(modal, QStringLiteral("Button_HDMI3"));
                       QPushButton *whole = nullptr;
                       for (QPushButton *b : child<QFrame>(modal, "frame")->findChildren<QPushButton *>(QStringLiteral("0")))
                           whole = b;
                       QVERIFY(whole);
                       QTest::mouseClick(whole, Qt::LeftButton);

                       // an entry made above the layout screen: not for the selected window
                       My_lineEdit *cropX = new My_lineEdit(modal);
                       cropX->setObjectName(QStringLiteral("lineEdit_X"));
                       g_lineedit = cropX;
                       c331_manage::para_update = 0;
                       whileModal([] {
                           g_numberkeyboard->label_show(QStringLiteral("X"), QStringLiteral("0"));
                           g_numberkeyboard->exec();
                       }, [](QWidget *) {
                           click(g_numberkeyboard, QStringLiteral("Button_5"));
                           click(g_numberkeyboard, QStringLiteral("Button_ok"));
                       });
                       QCOMPARE(int(c331_manage::para_update), 0);
                       click(modal, QStringLiteral("Button_back"));
                   });

        QVERIFY(!g_inputchoose);
        QCOMPARE(int(g_page_focus), int(PAGE_LAYOUT));
        QCOMPARE(rec(1, Img::W_SOURCE), 4);
        QCOMPARE(rec(1, Img::W_X), 100);
        QCOMPARE(field(s, 'X')->text(), QStringLiteral("100"));
        QVERIFY(diagram(s) != before);
        QCOMPARE(tileText(s, 1), QStringLiteral("HDMI3"));
        QCOMPARE(text(s, "image_source"), QStringLiteral("Source:HDMI3"));
        QCOMPARE(int(s->selected_window()), 1);
        QCOMPARE(p2p(s)->currentIndex(), 2);
        QCOMPARE(rec(1, Img::W_FLAGS), 0x0100);
        QCOMPARE(rec(1, Img::W_P2P_SPLICE), 8);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // without an open one, a new input choice is made
        whileModal([s] { click(s, QStringLiteral("Button_source_select")); },
                   [](QWidget *modal) {
                       QVERIFY(g_inputchoose && modal == static_cast<QWidget *>(g_inputchoose));
                       click(modal, QStringLiteral("Button_back"));
                   });
        QVERIFY(!g_inputchoose);

        // idle return: both Backs run inside the nested run
        QPointer<ImageLayout> guard(s);
        whileModal([s] { click(s, QStringLiteral("Button_source_select")); },
                   [](QWidget *) {
                       g_inputchoose->on_Button_back_clicked();
                       g_imagelayout->on_Button_back_clicked();
                   });
        QVERIFY(!g_imagelayout);
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!guard);
    }

    void namesAndLanguagesAndBack()
    {
        TestRoot root;
        setUp();
        root.write(QStringLiteral("/data/configs/alias.json"),
                   R"({"namelist":{"win":[{"id":0,"valid":"on","name":"<i>"}]}})");
        const char *title[5] = {"画面布局", "Screen layout", "Расположение", "Bố cục màn hình", "畫麵佈局"};
        const char *width[5] = {"宽", "W", "Ширина", "Rộng", "寬"};
        const char *closed[5] = {"未开启", "Close", "Откл", "Đóng", "未開啟"};
        const char *entry3[5] = {"HD3,HD4垂直拼接", "HD3,HD4 Ver", "Вер HD3,HD4", "Ghép dọc HD3,HD4", "HD3,HD4垂直拼接"};
        const char *name2[5] = {"名称:画面2", "Name:image2", "Название:Канал2", "Tên:Hình ảnh2", "名稱:畫麵2"};
        for (int lang = 0; lang < 5; ++lang) {
            g_language = u8(lang);
            ImageLayout *s = open();
            QCOMPARE(text(s, "label_title"), QString::fromUtf8(title[lang]));
            QCOMPARE(text(s, "label_W"), QString::fromUtf8(width[lang]));
            QCOMPARE(tileText(s, 1), QString::fromUtf8(closed[lang]));
            QCOMPARE(p2p(s)->itemText(3), QString::fromUtf8(entry3[lang]));
            QTest::mouseClick(tile(s, 1), Qt::LeftButton);
            QCOMPARE(text(s, "image_name"), QString::fromUtf8(name2[lang]));
            delete s;
        }
        g_language = 2;
        g_lcd_lang_valid = 0x1F & ~(1 << 2);   // Russian not allowed: English
        ImageLayout *s = open();
        QCOMPARE(text(s, "label_title"), QStringLiteral("Screen layout"));
        QLabel *name = child<QLabel>(s, QStringLiteral("image_name"));
        QCOMPARE(name->text(), QStringLiteral("Name:<i>"));
        QCOMPARE(name->textFormat(), Qt::PlainText);

        QPointer<ImageLayout> guard(s);
        click(s, QStringLiteral("Button_back"));
        QVERIFY(!g_imagelayout);
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
        QVERIFY(s->isHidden());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!guard);
    }
};

QTEST_MAIN(TestImageLayout)
#include "test_imagelayout.moc"
