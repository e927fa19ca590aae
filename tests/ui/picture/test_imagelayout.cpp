#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QPointer>
#include <memory>

#include "core/global.h"
#include "tests/support/widget_helpers.h"
#include "ui/input/inputchoose.h"
#include "ui/input/inputcut.h"
#include "ui/picture/imagelayout.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/screen_registry.h"

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

void type(ImageLayout *s, char f, const QString &text) { enterInField(field(s, f), text); }
// The fields marked as holding a refused entry, in the order X, Y, W, H.
QString marked(ImageLayout *s)
{
    QString m;
    for (char f : {'X', 'Y', 'W', 'H'})
        if (field(s, f)->styleSheet().contains(QLatin1String("229, 72, 77")))
            m += QLatin1Char(f);
    return m;
}

} // namespace

class TestImageLayout : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScreenEnv> env;

    ImageLayout *open() { g_page_focus = PAGE_LAYOUT; (g_imagelayout = new ImageLayout)->show(); return g_imagelayout; }

private slots:
    void init() { register_screens(); env.reset(new ScreenEnv); env->settle(); }
    void cleanup()
    {
        delete g_inputcut;
        delete g_imagelayout;
        delete g_inputchoose;
        g_inputcut = nullptr;
        g_inputchoose = nullptr;
        env.reset();
    }

    // Tiles, names as plain text, the switch and the refresh (both lists stay
    // plain list views so that their item style applies); position and size.
    void tilesStateAndRefresh()
    {
        env->root.write(QStringLiteral("/data/configs/alias.json"),
                        R"({"namelist":{"win":[{"id":0,"valid":"on","name":"<i>"}]}})");
        setRec(1, Img::W_ON, 1);
        setRec(1, Img::W_SOURCE, 4);
        setRec(2, Img::W_ON, 0x0101);   // low byte 1: on
        setRec(3, Img::W_ON, 2);        // neither 0 nor 1: off everywhere
        img()->set_u16(Img::crop(5), u16(0x8000 | (1 << 8) | 3));
        setRec(4, Img::W_ON, 1);
        setRec(4, Img::W_SOURCE, 0x8005);   // crop record 5: HDMI2
        env->settle();
        ImageLayout *s = open();
        QStringList shown;
        for (int w = 0; w < 6; ++w)
            shown << tileText(s, w);
        QCOMPARE(shown.join(' '), QStringLiteral("HDMI1 HDMI3 HDMI1 Close HDMI2 Close"));
        QVERIFY(child(s, "button_state")->isHidden());   // window 0 is always on
        QLabel *name = child<QLabel>(s, "image_name");
        QVERIFY(name->text() == QStringLiteral("Name:<i>") && name->textFormat() == Qt::PlainText);
        // switched off: only the low byte changes
        clickTile(s, 2);
        click(s, "button_state");
        QVERIFY(rec(2, Img::W_ON) == 0x0100 && updates() == 1);
        QCOMPARE(tileText(s, 2), QStringLiteral("Close"));
        // the scaler applies it; the refresh rebuilds the diagram and keeps the selection
        c331_manage::pInstance()->pass();
        QPointer<QFrame> before = diagram(s);
        s->syncUpdate();
        env->settle();
        QVERIFY(diagram(s) != before && s->selected_window() == 2);
        click(s, "button_state");
        QCOMPARE(rec(2, Img::W_ON), 0x0101);
        QCOMPARE(tileText(s, 2), QStringLiteral("HDMI1"));
        setRec(2, Img::W_X, 77);   // a PC moves the window: the editor follows
        s->syncUpdate();
        QCOMPARE(field(s, 'X')->text(), QStringLiteral("77"));
        QPointer<QAbstractItemView> first = p2p(s)->view();
        img()->ram_para[Img::LANGUAGE] = 0;   // a language change through the image: tiles too
        s->syncUpdate();
        QCOMPARE(tileText(s, 3), QStringLiteral("未开启"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto plain = [](QComboBox *c) { return QByteArray(c->view()->metaObject()->className()) == "QListView"; };
        QVERIFY(!first && plain(p2p(s)));
        child<QComboBox>(s, "comboBox")->show();
        QVERIFY(plain(child<QComboBox>(s, "comboBox")));
        // a rebuild run from inside a tile's own click: the button outlives it
        QPointer<QPushButton> pressed = child<QPushButton>(diagram(s), "1");
        before = diagram(s);
        bool alive = false;
        connect(pressed, &QPushButton::clicked, s, [&] { s->image_init(); alive = pressed && before; });
        QTest::mouseClick(pressed, Qt::LeftButton);
        QVERIFY(alive && diagram(s) != before);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!before && !pressed);
        // window 0's position and size stay on the canvas; a refused entry
        // marks its field until a good one is entered on that axis
        clickTile(s, 0);
        c331_manage::para_update = 0;
        type(s, 'W', "1000");
        type(s, 'X', "920");   // X + W at the canvas width
        QVERIFY(rec(0, Img::W_W) == 1000 && rec(0, Img::W_X) == 920 && updates() == 1);
        c331_manage::para_update = 0;
        type(s, 'X', "921");
        type(s, 'W', "1001");
        QVERIFY(rec(0, Img::W_X) == 920 && rec(0, Img::W_W) == 1000 && updates() == 0);
        QCOMPARE(field(s, 'X')->text() + ' ' + marked(s), QStringLiteral("920 XW"));
        type(s, 'H', "540");   // Y pairs with H against the canvas height
        type(s, 'Y', "540");
        type(s, 'Y', "541");
        QVERIFY(rec(0, Img::W_Y) == 540 && rec(0, Img::W_H) == 540);
        QCOMPARE(marked(s), QStringLiteral("XYW"));
        type(s, 'X', "");   // empty counts as 0 and the field stays empty
        QVERIFY(field(s, 'X')->text().isEmpty() && rec(0, Img::W_X) == 0);
        QCOMPARE(marked(s), QStringLiteral("Y"));
        clickTile(s, 1);   // another window's fields
        QCOMPARE(marked(s), QString());
        clickTile(s, 0);
        // unsigned 16-bit values; anything else is refused
        img()->set_u16(Img::CANVAS_W, 60000);
        type(s, 'W', "960");
        type(s, 'X', "40000");
        c331_manage::para_update = 0;
        type(s, 'W', "30000");   // X + W past 16 bits
        for (const char *bad : {"12a", "65536", " 5", "-1"})
            type(s, 'X', QString::fromLatin1(bad));
        QVERIFY(rec(0, Img::W_X) == 40000 && rec(0, Img::W_W) == 960 && updates() == 0);
        QCOMPARE(field(s, 'X')->text() + ' ' + marked(s), QStringLiteral("40000 XW"));
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
        auto lit = [s] {   // the mirror buttons shown on, as "1".."4"
            QString on;
            for (int m = 1; m <= 4; ++m)
                if (res(s, QStringLiteral("mirror%1").arg(m)) == QStringLiteral(":/png/mirror%1_on.png").arg(m))
                    on += QString::number(m);
            return on;
        };
        QVERIFY(lit() == "1" && p2p(s)->currentIndex() == 0 && updates() == 0);
        click(s, "mirror3");
        QVERIFY(img()->ram_para[Img::window(0, Img::W_MIRROR)] == 2 && updates() == 1 && lit() == "3");
        c331_manage::para_update = 0;
        click(s, "mirror3");   // the mode it has: nothing to write
        QCOMPARE(updates(), 0);
        // entry, flags and splice word after it (OFF keeps the splice word)
        const int entries[][3] = {{2, 0x0104, 8}, {0, 0x0004, 8}, {3, 0x0104, 9}, {1, 0x0104, 0}};
        for (const auto &e : entries) {
            p2p(s)->setCurrentIndex(e[0]);
            QVERIFY(rec(0, Img::W_FLAGS) == e[1] && rec(0, Img::W_P2P_SPLICE) == e[2]);
        }
        QCOMPARE(updates(), 1);
        c331_manage::para_update = 0;
        QMetaObject::invokeMethod(s, "on_comboBox_P2P_currentIndexChanged", Q_ARG(int, 1));
        QCOMPARE(updates(), 0);
        // mirror 7 lights none, an unknown splice word shows no entry; both stay
        clickTile(s, 1);
        QVERIFY(lit().isEmpty() && p2p(s)->currentIndex() == -1);
        QVERIFY(rec(1, Img::W_P2P_SPLICE) == 5 && updates() == 0);
        // the mirror is the byte at +4, as the scaler reads it; the byte alone is written
        clickTile(s, 2);
        QCOMPARE(lit(), QStringLiteral("2"));
        c331_manage::pInstance()->pass();
        QCOMPARE(int(c331_manage::pInstance()->chip()->state().window[2].mirror), 1);
        click(s, "mirror4");
        QVERIFY(img()->ram_para[Img::window(2, Img::W_MIRROR)] == 3 && img()->ram_para[Img::window(2, Img::W_MIRROR) + 1] == 0x55);
        // a new language refills the list without writing
        clickTile(s, 0);
        c331_manage::para_update = 0;
        g_language = 2;
        s->language_changed();
        QVERIFY(p2p(s)->itemText(1) == QStringLiteral("Вкл") && p2p(s)->currentIndex() == 1);
        QVERIFY(rec(0, Img::W_FLAGS) == 0x0104 && updates() == 0);
        // a round trip through the input choice for window 1; an entry made
        // above the layout screen is not for the selected window
        g_language = 1;
        setRec(1, Img::W_ON, 1);
        setRec(1, Img::W_X, 100);
        setRec(1, Img::W_P2P_SPLICE, 8);
        env->settle();
        clickTile(s, 1);
        QPointer<QFrame> before = diagram(s);
        InputChoose *made = g_inputchoose = new InputChoose;
        const auto choice = onModal([&](QWidget *modal) {
            QCOMPARE(modal, static_cast<QWidget *>(made));   // the open one is reused
            click(child(modal, "menu_frame"), "1");
            click(modal, "Button_HDMI3");
            click(child(modal, "frame"), "0");
            g_lineedit = new My_lineEdit(modal);
            g_lineedit->setObjectName(QStringLiteral("lineEdit_X"));
            emit g_numberkeyboard->sendKeyBoardUIDataToLineEdit("5");
            click(modal, "Button_back");
        });
        click(s, "Button_source_select");
        QVERIFY(!g_inputchoose && g_page_focus == PAGE_LAYOUT && rec(1, Img::W_SOURCE) == 4);
        QVERIFY(!before && field(s, 'X')->text() == "100" && rec(1, Img::W_X) == 100);
        QVERIFY(tileText(s, 1) == "HDMI3" && s->selected_window() == 1 && p2p(s)->currentIndex() == 2);
        QCOMPARE(rec(1, Img::W_FLAGS), 0x0100);   // the list refill ran no handler
    }

    // The crop screen opened from the layout's input choice: both hear the
    // keypad, and each takes only an entry for one of its own fields.
    void keypadEntryStaysOnItsScreen()
    {
        register_screens();
        img()->set_u16(Img::CANVAS_W, 60000);
        ImageLayout *s = open();
        auto windows = [] {
            return QByteArray(reinterpret_cast<const char *>(img()->ram_para) + Img::window(0, 0),
                              Img::WINDOW_SIZE * Img::WINDOWS_USED);
        };
        const QByteArray before = windows();
        const auto choice = onModal([&](QWidget *choose) {
            click(child(choose, "frame"), "Button_menu");
            const auto crop = onModal([&](QWidget *cut) {
                click(child(cut, "frame_source"), "Button_add");
                enterInField(child<My_lineEdit>(cut, "lineEdit_W"), "640");
                QVERIFY(child<QLineEdit>(cut, "lineEdit_W")->text() == "640" && windows() == before);
                // X past the canvas is refused by the layout, and the crop screen must not
                // put it in the layout's field either: the next entry writes X as shown
                type(s, 'X', "65000");
                type(s, 'H', "100");
                QVERIFY(child<QLineEdit>(cut, "lineEdit_W")->text() == "640" && rec(0, Img::W_X) == 0);
                QCOMPARE(rec(0, Img::W_H), 100);
                click(cut, "Button_back");
            });
            click(choose, "button_inputcut");
            click(choose, "Button_back");
        });
        click(s, "Button_source_select");
        QVERIFY(!g_inputcut && !g_inputchoose);
    }
};

QTEST_MAIN(TestImageLayout)
#include "test_imagelayout.moc"
