#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QPointer>
#include <memory>

#include "core/global.h"
#include "tests/support/widget_helpers.h"
#include "ui/input/inputchoose.h"
#include "ui/picture/imagelayout.h"
#include "ui/shell/my_lineedit.h"

namespace {

QelRamPara *img() { return QelRamPara::p_qelrampara_config; }
int rec(int w, int field) { return img()->get_u16(Img::window(w, field)); }
void setRec(int w, int field, int v) { img()->set_u16(Img::window(w, field), u16(v)); }
int updates() { return c331_manage::para_update; }

QFrame *diagram(QObject *s) { return child<QFrame>(s, "layout_frame"); }
void clickTile(ImageLayout *s, int w) { click(diagram(s), QString::number(w)); }
QString tileText(ImageLayout *s, int w) { return labelText(diagram(s), QStringLiteral("window_name_%1").arg(w)); }
My_lineEdit *field(ImageLayout *s, char f) { return child<My_lineEdit>(s, QStringLiteral("lineEdit_%1").arg(QLatin1Char(f))); }
QComboBox *p2p(ImageLayout *s) { return child<QComboBox>(s, "comboBox_P2P"); }

// Presses the field and types on the keypad it opens.
void type(My_lineEdit *f, const QString &digits)
{
    onModal([digits](QWidget *modal) {
        QCOMPARE(modal, static_cast<QWidget *>(g_numberkeyboard));
        typeOnKeypad(digits);
    });
    QTest::mouseClick(f, Qt::LeftButton);
}

} // namespace

class TestImageLayout : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScreenEnv> env;

    ImageLayout *open()
    {
        g_imagelayout = new ImageLayout;
        g_page_focus = PAGE_LAYOUT;
        g_imagelayout->show();
        return g_imagelayout;
    }

private slots:
    void init() { env.reset(new ScreenEnv); env->settle(); }
    void cleanup()
    {
        delete g_imagelayout;
        delete g_inputchoose;
        g_inputchoose = nullptr;
        env.reset();
    }

    void tilesStateAndRefresh()
    {
        setRec(1, Img::W_ON, 1);
        setRec(1, Img::W_SOURCE, 4);
        setRec(2, Img::W_ON, 0x0101);   // low byte 1: on
        setRec(3, Img::W_ON, 2);        // neither 0 nor 1: off everywhere
        img()->set_u16(Img::crop(5), u16(0x8000 | (1 << 8) | 3));
        setRec(4, Img::W_ON, 1);
        setRec(4, Img::W_SOURCE, 0x8005);   // crop record 5: HDMI2
        env->settle();
        ImageLayout *s = open();
        const QStringList shown = {"HDMI1", "HDMI3", "HDMI1", "Close", "HDMI2", "Close"};
        for (int w = 0; w < 6; ++w)
            QCOMPARE(tileText(s, w), shown[w]);
        QVERIFY(child(s, "button_state")->isHidden());   // window 0 is always on

        clickTile(s, 3);
        QCOMPARE(child(diagram(s), "select_frame")->x(), 17 + 390);
        QCOMPARE(labelText(s, "image_state"), QStringLiteral("Image state:OFF"));
        QCOMPARE(labelText(s, "image_name"), QStringLiteral("Name:image4"));

        // switched off: only the low byte changes
        clickTile(s, 2);
        click(s, "button_state");
        QCOMPARE(rec(2, Img::W_ON), 0x0100);
        QCOMPARE(updates(), 1);
        QCOMPARE(tileText(s, 2), QStringLiteral("Close"));

        // the scaler applies it; the refresh rebuilds the diagram and keeps the selection
        c331_manage::pInstance()->pass();
        QPointer<QFrame> before = diagram(s);
        s->syncUpdate();
        env->settle();
        QVERIFY(diagram(s) != before);
        QCOMPARE(child(diagram(s), "select_frame")->x(), 17 + 260);
        click(s, "button_state");
        QCOMPARE(rec(2, Img::W_ON), 0x0101);
        QCOMPARE(tileText(s, 2), QStringLiteral("HDMI1"));

        // a PC moves the window: the editor follows
        setRec(2, Img::W_X, 77);
        s->syncUpdate();
        QCOMPARE(field(s, 'X')->text(), QStringLiteral("77"));

        // a language change through the image repaints texts and tiles
        img()->ram_para[Img::LANGUAGE] = 0;
        s->syncUpdate();
        QCOMPARE(labelText(s, "label_title"), QStringLiteral("画面布局"));
        QCOMPARE(tileText(s, 3), QStringLiteral("未开启"));

        // a rebuild run from inside a tile's own click: the button outlives it
        QPointer<QPushButton> pressed = child<QPushButton>(diagram(s), "1");
        before = diagram(s);
        bool alive = false;
        connect(pressed, &QPushButton::clicked, s, [&] { s->image_init(); alive = pressed && before; });
        QTest::mouseClick(pressed, Qt::LeftButton);
        QVERIFY(alive && diagram(s) != before);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!before && !pressed);
    }

    void positionAndSizeStayOnTheCanvas()
    {
        ImageLayout *s = open();
        type(field(s, 'W'), "1000");
        QCOMPARE(rec(0, Img::W_W), 1000);
        QCOMPARE(updates(), 1);
        type(field(s, 'X'), "920");   // X + W at the canvas width
        QCOMPARE(rec(0, Img::W_X), 920);
        c331_manage::para_update = 0;
        type(field(s, 'X'), "921");
        type(field(s, 'W'), "1001");
        QCOMPARE(rec(0, Img::W_X), 920);
        QCOMPARE(rec(0, Img::W_W), 1000);
        QCOMPARE(field(s, 'X')->text(), QStringLiteral("920"));
        QCOMPARE(updates(), 0);
        // Y pairs with H against the canvas height
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

        QCOMPARE(updates(), 0);
    }

    void mirrorAndPointToPoint()
    {
        setRec(0, Img::W_FLAGS, 0x0004);   // fade bit kept throughout
        setRec(1, Img::W_MIRROR, 7);
        setRec(1, Img::W_FLAGS, 0x0100);
        setRec(1, Img::W_P2P_SPLICE, 5);
        img()->ram_para[Img::window(2, Img::W_MIRROR)] = 1;
        img()->ram_para[Img::window(2, Img::W_MIRROR) + 1] = 0x55;
        ImageLayout *s = open();
        QCOMPARE(res(s, "mirror1"), QStringLiteral(":/png/mirror1_on.png"));
        QCOMPARE(p2p(s)->currentIndex(), 0);
        QCOMPARE(updates(), 0);

        click(s, "mirror3");
        QCOMPARE(int(img()->ram_para[Img::window(0, Img::W_MIRROR)]), 2);
        QCOMPARE(updates(), 1);
        QCOMPARE(res(s, "mirror3"), QStringLiteral(":/png/mirror3_on.png"));
        c331_manage::para_update = 0;
        click(s, "mirror3");   // the mode it has: nothing to write
        QCOMPARE(updates(), 0);

        // entry, flags and splice word after it (OFF keeps the splice word)
        const int entries[][3] = {{2, 0x0104, 8}, {0, 0x0004, 8}, {3, 0x0104, 9}, {1, 0x0104, 0}};
        for (const auto &e : entries) {
            p2p(s)->setCurrentIndex(e[0]);
            QCOMPARE(rec(0, Img::W_FLAGS), e[1]);
            QCOMPARE(rec(0, Img::W_P2P_SPLICE), e[2]);
        }
        QCOMPARE(updates(), 1);
        c331_manage::para_update = 0;
        QMetaObject::invokeMethod(s, "on_comboBox_P2P_currentIndexChanged", Q_ARG(int, 1));
        QCOMPARE(updates(), 0);

        // mirror 7 lights none, an unknown splice word shows no entry; both stay
        const auto noneLit = [s] {
            for (const char *m : {"mirror1", "mirror2", "mirror3", "mirror4"})
                QVERIFY(res(s, m).endsWith(QStringLiteral("_off.png")));
        };
        c331_manage::para_update = 0;
        clickTile(s, 1);
        noneLit();
        QCOMPARE(p2p(s)->currentIndex(), -1);
        QCOMPARE(rec(1, Img::W_P2P_SPLICE), 5);
        QCOMPARE(updates(), 0);

        // the mirror is the byte at +4, as the scaler reads it (0x5501 lights mirror 2);
        // the byte alone is written
        clickTile(s, 2);
        QCOMPARE(res(s, "mirror2"), QStringLiteral(":/png/mirror2_on.png"));
        c331_manage::pInstance()->pass();
        QCOMPARE(int(c331_manage::pInstance()->chip()->state().window[2].mirror), 1);
        click(s, "mirror4");
        QCOMPARE(int(img()->ram_para[Img::window(2, Img::W_MIRROR)]), 3);
        QCOMPARE(int(img()->ram_para[Img::window(2, Img::W_MIRROR) + 1]), 0x55);

        // a new language refills the list without writing
        clickTile(s, 0);
        c331_manage::para_update = 0;
        g_language = 2;
        s->language_changed();
        QCOMPARE(p2p(s)->itemText(1), QStringLiteral("Вкл"));
        QCOMPARE(p2p(s)->currentIndex(), 1);
        QCOMPARE(rec(0, Img::W_FLAGS), 0x0104);
        QCOMPARE(updates(), 0);
    }

    void roundTripThroughInputChoice()
    {
        setRec(1, Img::W_ON, 1);
        setRec(1, Img::W_X, 100);
        setRec(1, Img::W_FLAGS, 0x0100);
        setRec(1, Img::W_P2P_SPLICE, 8);
        env->settle();
        ImageLayout *s = open();
        clickTile(s, 1);
        QPointer<QFrame> before = diagram(s);
        InputChoose *reused = new InputChoose;
        g_inputchoose = reused;

        onModal([&](QWidget *modal) {
            QCOMPARE(modal, static_cast<QWidget *>(reused));
            QCOMPARE(int(g_page_focus), int(PAGE_INPUT_CHOICE));
            click(child(modal, "menu_frame"), "1");
            click(modal, "Button_HDMI3");
            click(child(modal, "frame"), "0");

            // an entry made above the layout screen: not for the selected window
            My_lineEdit *cropX = new My_lineEdit(modal);
            cropX->setObjectName(QStringLiteral("lineEdit_X"));
            g_lineedit = cropX;
            c331_manage::para_update = 0;
            onModal([](QWidget *) { typeOnKeypad("5"); });
            g_numberkeyboard->label_show(QStringLiteral("X"), QStringLiteral("0"));
            g_numberkeyboard->exec();
            QCOMPARE(updates(), 0);
            click(modal, "Button_back");
        });
        click(s, "Button_source_select");

        // back: the source written, the screen repainted, nothing else touched
        QVERIFY(!g_inputchoose);
        QCOMPARE(int(g_page_focus), int(PAGE_LAYOUT));
        QCOMPARE(rec(1, Img::W_SOURCE), 4);
        QCOMPARE(field(s, 'X')->text(), QStringLiteral("100"));
        QVERIFY(!before && diagram(s));
        QCOMPARE(tileText(s, 1), QStringLiteral("HDMI3"));
        QCOMPARE(labelText(s, "image_source"), QStringLiteral("Source:HDMI3"));
        QCOMPARE(int(s->selected_window()), 1);
        QCOMPARE(p2p(s)->currentIndex(), 2);
        QCOMPARE(rec(1, Img::W_FLAGS), 0x0100);   // the list refill ran no handler
    }

    // Both lists are plain list views, so that their item style applies; the
    // hidden one gets its view when it is shown.
    void listsArePlainListViews()
    {
        ImageLayout *s = open();
        auto plain = [](QComboBox *c) { return QByteArray(c->view()->metaObject()->className()) == "QListView"; };
        QPointer<QAbstractItemView> first = p2p(s)->view();
        QVERIFY(plain(p2p(s)));
        img()->ram_para[Img::LANGUAGE] = 0;
        s->syncUpdate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first && plain(p2p(s)));
        QComboBox *hidden = child<QComboBox>(s, "comboBox");
        hidden->show();
        QVERIFY(plain(hidden));
    }

    void languagesNamesAndBack()
    {
        env->root.write(QStringLiteral("/data/configs/alias.json"),
                        R"({"namelist":{"win":[{"id":0,"valid":"on","name":"<i>"}]}})");
        const char *title[5] = {"画面布局", "Screen layout", "Расположение", "Bố cục màn hình", "畫麵佈局"};
        for (int lang = 0; lang < 5; ++lang) {
            g_language = u8(lang);
            ImageLayout s;
            QCOMPARE(labelText(&s, "label_title"), QString::fromUtf8(title[lang]));
        }
        g_language = 2;
        g_lcd_lang_valid = 0x1F & ~(1 << 2);   // Russian not allowed: English
        ImageLayout *s = open();
        QCOMPARE(labelText(s, "label_title"), QStringLiteral("Screen layout"));
        QLabel *name = child<QLabel>(s, "image_name");
        QCOMPARE(name->text(), QStringLiteral("Name:<i>"));
        QCOMPARE(name->textFormat(), Qt::PlainText);

        QPointer<ImageLayout> guard(s);
        click(s, "Button_back");
        QVERIFY(!g_imagelayout && !guard);
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
    }
};

QTEST_MAIN(TestImageLayout)
#include "test_imagelayout.moc"
