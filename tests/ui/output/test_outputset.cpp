#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <functional>

#include "core/global.h"
#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "led_output/fpga_manage.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"
#include "ui/output/outputset.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/screens.h"

namespace {

const char *const PAIR_SELECTED =
    "background-color: #4777FF;color: rgb(255, 255, 255);border:1px solid rgb(255, 255, 255);";
const char *const TILE_SELECTED = "background-color: #212435;border:1px solid #00D65B;";
const char *const TILE_PLAIN = "background-color: #212435;border:1px solid #FFFFFF;";

QelRamPara *ram() { return QelRamPara::p_qelrampara_config; }
int img(int offset) { return ram()->get_u16(offset); }

// Canvas, mode and output areas as saved (image and shadow agree).
void store(int mode, int w, int h, int o1w = 1920, int o1h = 1080, int o2w = 1920, int o2h = 1080)
{
    QelRamPara *p = ram();
    p->set_u16(Img::SPLICE_MODE, u16(mode));
    p->set_u16(Img::CANVAS_W, u16(w));
    p->set_u16(Img::CANVAS_H, u16(h));
    p->set_u16(Img::OUT1_W, u16(o1w));
    p->set_u16(Img::OUT1_H, u16(o1h));
    p->set_u16(Img::OUT2_W, u16(o2w));
    p->set_u16(Img::OUT2_H, u16(o2h));
    memcpy(p->ram_para_shadow, p->ram_para, Img::SIZE);
}

void setFpgaStates(int s0, int s1)
{
    fpga_manage *f = fpga_manage::pInstance();
    f->MCU_REG_func[0][80] = u8(s0);
    f->MCU_REG_func[1][80] = u8(s1);
}

}

class TestOutputSet : public QObject
{
    Q_OBJECT

    OutputSet *screen = nullptr;

    template <class T> T *w(const char *name) const
    {
        T *found = screen->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    QString text(const char *field) const { return w<QLineEdit>(field)->text(); }

    void open()
    {
        delete screen;
        screen = new OutputSet;
        g_outputset = screen;
        g_page_focus = PAGE_OUTPUT;
        screen->show();
    }

    void click(const char *button) { QTest::mouseClick(w<QPushButton>(button), Qt::LeftButton); }

    // Operator's choice in the splice list.
    void choose(int index)
    {
        QComboBox *combo = w<QComboBox>("comboBox");
        combo->showPopup();
        QAbstractItemView *view = combo->view();
        const QRect r = view->visualRect(view->model()->index(index, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(combo->currentIndex(), index);
    }

    // Presses the field, types the digits on the keypad and presses OK.
    void type(const char *field, const QString &digits)
    {
        QTimer::singleShot(0, [digits] {
            QWidget *pad = QApplication::activeModalWidget();
            QVERIFY(pad == g_numberkeyboard);
            for (QChar c : digits)
                QTest::mouseClick(pad->findChild<QPushButton *>(QStringLiteral("Button_") + c),
                                  Qt::LeftButton);
            QTest::mouseClick(pad->findChild<QPushButton *>(QStringLiteral("Button_ok")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(w<QLineEdit>(field), Qt::LeftButton);
    }

    // What para_sync does around the screen's refresh.
    void refresh()
    {
        screen->syncUpdate();
        memcpy(ram()->ram_para_shadow, ram()->ram_para, Img::SIZE);
    }

    // A fresh image and keypad (inside the test's own root).
    void fresh()
    {
        cleanup();
        QelRamPara::pInstance();
        g_numberkeyboard = new NumberKeyboard;
    }

private slots:
    void cleanup()
    {
        delete screen;
        screen = nullptr;
        delete g_numberkeyboard;
        g_numberkeyboard = nullptr;
        fpga_manage::destroyInstance();
        QelRamPara::destroyInstance();
        c331_manage::para_update = 0;
    }

    void opensOnTheLedPageShowingTheImage()
    {
        TestRoot root;
        fresh();
        store(5, 2560, 1440, 2560, 1440, 2560, 1440);
        open();
        QCOMPARE(w<QStackedWidget>("stackedWidget")->currentIndex(), 0);
        QCOMPARE(text("lineEdit_width"), QStringLiteral("2560"));
        QCOMPARE(text("lineEdit_height"), QStringLiteral("1440"));
        QCOMPARE(w<QComboBox>("comboBox")->currentText(), QStringLiteral("copy"));
        QCOMPARE(w<QLabel>("out_label")->property("res").toString(), QStringLiteral(":/png/out_copy.png"));
        QCOMPARE(w<QLabel>("out_label")->geometry(), QRect(388, 155, 100, 40));
        QCOMPARE(w<QPushButton>("Button_back")->property("res").toString(), QStringLiteral(":/png/back.png"));
        QCOMPARE(w<QLabel>("label_warning")->property("res").toString(), QStringLiteral(":/png/warning.png"));
        QVERIFY(!w<QLineEdit>("lineEdit_width")->isEnabled());
        QVERIFY(!w<QLineEdit>("lineEdit_out2_width")->isEnabled());
        QVERIFY(w<QLineEdit>("lineEdit_out1_width")->isEnabled());
        QVERIFY(w<QPushButton>("Button_wlan4")->isHidden());
        QVERIFY(w<QPushButton>("Button_apply2")->isHidden());
        QCOMPARE(g_apply_focus1.data(), w<QPushButton>("Button_cancel1"));
        QCOMPARE(w<QPushButton>("Button_cancel1")->styleSheet(), QString::fromLatin1(PAIR_SELECTED));

        // an unknown stored mode is applied as copy
        click("Button_apply1");
        QCOMPARE(img(Img::SPLICE_MODE), 4);
        QCOMPARE(img(Img::OUT1_W), 2560);
        QCOMPARE(img(Img::OUT2_H), 1440);
        QCOMPARE(int(c331_manage::para_update), 1);
        QCOMPARE(g_apply_focus1.data(), w<QPushButton>("Button_apply1"));
    }

    void presetsSplitOddEvenAndWideCanvases()
    {
        TestRoot root;
        struct Case {
            int w, h, index;
            int out1w, out2w, out1h, out2h;
            int width_shown;
        };
        const Case cases[] = {
            {1920, 1080, 0, 960, 960, 1080, 1080, 1920},
            {1921, 1081, 0, 968, 953, 1081, 1081, 1921},
            {10000, 1080, 0, 5024, 4992, 1080, 1080, 10000},  // 32-pixel steps, padded span
            {10001, 1080, 0, 5024, 4992, 1080, 1080, 10001},
            {1920, 1080, 1, 1920, 1920, 540, 540, 1920},
            {1921, 1081, 1, 1921, 1921, 541, 540, 1921},
            {1921, 1081, 2, 1921, 1921, 1081, 1081, 1921},
            {9000, 1080, 2, 8188, 8188, 1080, 1080, 8188},   // copy is at most 8188 wide
        };
        const char *pictures[] = {":/png/out_horizontal.png", ":/png/out_vertical.png", ":/png/out_copy.png"};
        for (const Case &c : cases) {
            fresh();
            store(c.index == 2 ? 3 : 4, c.w, c.h);
            open();
            choose(c.index);
            QCOMPARE(text("lineEdit_out1_width").toInt(), c.out1w);
            QCOMPARE(text("lineEdit_out2_width").toInt(), c.out2w);
            QCOMPARE(text("lineEdit_out1_height").toInt(), c.out1h);
            QCOMPARE(text("lineEdit_out2_height").toInt(), c.out2h);
            QCOMPARE(text("lineEdit_width").toInt(), c.width_shown);
            QCOMPARE(w<QLabel>("out_label")->property("res").toString(), QString::fromLatin1(pictures[c.index]));
            // nothing reaches the image before Apply
            QCOMPARE(int(c331_manage::para_update), 0);
            QCOMPARE(img(Img::OUT1_W), 1920);
            cleanup();
        }
        fresh();
        store(4, 9000, 1080);
        open();
        choose(2);
        click("Button_apply1");
        QCOMPARE(img(Img::CANVAS_W), 8188);
        QCOMPARE(img(Img::OUT1_W), 8188);
    }

    void applyWritesExactlyTheOutputAreas()
    {
        TestRoot root;
        fresh();
        store(4, 1920, 1080);
        open();
        choose(0);
        w<QLineEdit>("lineEdit_out2_width")->setText(QStringLiteral("5"));   // not read
        u8 before[Img::SIZE];
        memcpy(before, ram()->ram_para, Img::SIZE);
        click("Button_apply1");
        const QMap<int, int> expect{{Img::SPLICE_MODE, 3}, {Img::CANVAS_W, 1920}, {Img::CANVAS_H, 1080},
                                    {Img::OUT1_W, 960},    {Img::OUT1_H, 1080},   {Img::OUT2_X, 960},
                                    {Img::OUT2_Y, 0},      {Img::OUT2_W, 960},    {Img::OUT2_H, 1080},
                                    {Img::window(0, Img::W_X), 0}, {Img::window(0, Img::W_Y), 0},
                                    {Img::window(0, Img::W_W), 1920}, {Img::window(0, Img::W_H), 1080}};
        for (int off = 0; off < Img::SIZE; off += 2) {
            const int was = before[off] | before[off + 1] << 8;
            int want = expect.value(off, was);
            for (int win = 1; win < 6; ++win)
                if (off == Img::window(win, Img::W_ON))
                    want = 0;
            QVERIFY2(img(off) == want, qPrintable(QStringLiteral("offset %1: %2, want %3").arg(off).arg(img(off)).arg(want)));
        }

        // vertical: OUT2 starts below OUT1
        fresh();
        store(4, 1920, 1081);
        open();
        choose(1);
        click("Button_apply1");
        QCOMPARE(img(Img::SPLICE_MODE), 2);
        QCOMPARE(img(Img::OUT1_W), 1920);
        QCOMPARE(img(Img::OUT2_W), 1920);
        QCOMPARE(img(Img::OUT1_H), 541);
        QCOMPARE(img(Img::OUT2_Y), 541);
        QCOMPARE(img(Img::OUT2_H), 540);
        QCOMPARE(img(Img::OUT2_X), 0);

        // output areas from outside larger than the canvas never wrap
        fresh();
        store(3, 1920, 1080, 3000, 1500, 500, 1080);
        open();
        click("Button_apply1");
        QCOMPARE(img(Img::OUT1_W), 1920);
        QCOMPARE(img(Img::OUT2_X), 1920);
        QCOMPARE(img(Img::OUT2_W), 0);
        QCOMPARE(img(Img::OUT1_H), 1080);
        QCOMPARE(img(Img::OUT2_H), 1080);
        fresh();
        store(2, 1920, 1080, 2500, 2000, 1920, 40000);
        open();
        click("Button_apply1");
        QCOMPARE(img(Img::OUT1_W), 1920);
        QCOMPARE(img(Img::OUT1_H), 1080);
        QCOMPARE(img(Img::OUT2_Y), 1080);
        QCOMPARE(img(Img::OUT2_H), 0);
    }

    void keypadEntriesFollowTheRules()
    {
        TestRoot root;
        fresh();
        store(3, 1920, 1080, 960, 1080, 960, 1080);
        open();
        type("lineEdit_out1_width", QStringLiteral("0700"));
        QCOMPARE(text("lineEdit_out1_width"), QStringLiteral("700"));
        QCOMPARE(text("lineEdit_out2_width"), QStringLiteral("1220"));
        QCOMPARE(g_lineedit.data(), w<My_lineEdit>("lineEdit_out1_width"));

        // refused: nothing typed, wider than the canvas
        type("lineEdit_out1_width", QString());
        type("lineEdit_out1_width", QStringLiteral("9000"));
        QCOMPARE(text("lineEdit_out1_width"), QStringLiteral("700"));
        QCOMPARE(text("lineEdit_out2_width"), QStringLiteral("1220"));
        click("Button_apply1");
        QCOMPARE(img(Img::OUT1_W), 700);
        QCOMPARE(img(Img::OUT2_X), 700);
        QCOMPARE(img(Img::OUT2_W), 1220);

        // vertical: the height is split
        choose(1);
        type("lineEdit_out1_height", QStringLiteral("700"));
        QCOMPARE(text("lineEdit_out2_height"), QStringLiteral("380"));
        type("lineEdit_out1_height", QStringLiteral("1081"));
        QCOMPARE(text("lineEdit_out1_height"), QStringLiteral("700"));
        type("lineEdit_out1_width", QStringLiteral("1000"));
        QCOMPARE(text("lineEdit_out2_width"), QStringLiteral("1000"));

        // another screen's field is not ours
        My_lineEdit other;
        other.setObjectName(QStringLiteral("lineEdit_out1_width"));
        g_lineedit = &other;
        screen->confirmString(QStringLiteral("5"));
        QCOMPARE(text("lineEdit_out1_width"), QStringLiteral("1000"));
        g_lineedit = nullptr;

        // canvases wider than 8188: 32-pixel steps
        fresh();
        store(3, 10000, 1080, 5024, 1080, 4992, 1080);
        open();
        type("lineEdit_out1_width", QStringLiteral("5000"));
        QCOMPARE(text("lineEdit_out1_width"), QStringLiteral("5024"));
        QCOMPARE(text("lineEdit_out2_width"), QStringLiteral("5008"));
        choose(2);
        QCOMPARE(text("lineEdit_width"), QStringLiteral("8188"));
        fresh();
        store(4, 10000, 1080);
        open();
        type("lineEdit_out1_width", QStringLiteral("5000"));
        QCOMPARE(text("lineEdit_out2_width"), QStringLiteral("5024"));
        // above one output's limit: split side by side, the list left alone
        type("lineEdit_out1_width", QStringLiteral("9000"));
        QCOMPARE(text("lineEdit_out1_width"), QStringLiteral("8192"));
        QCOMPARE(text("lineEdit_out2_width"), QStringLiteral("1840"));
        QCOMPARE(w<QComboBox>("comboBox")->currentIndex(), 2);
        click("Button_apply1");
        QCOMPARE(img(Img::SPLICE_MODE), 3);
        QCOMPARE(img(Img::OUT1_W), 8192);
        QCOMPARE(img(Img::OUT2_W), 1808);

        // rounding up never passes the canvas
        fresh();
        store(3, 8190, 1080, 4096, 1080, 4094, 1080);
        open();
        type("lineEdit_out1_width", QStringLiteral("8180"));
        QCOMPARE(text("lineEdit_out1_width"), QStringLiteral("8190"));
        click("Button_apply1");
        QCOMPARE(img(Img::OUT1_W), 8190);
        QCOMPARE(img(Img::OUT2_W), 0);
    }

    void sizeOrModeChangeResetsWindowsAndAsksForLedSetup()
    {
        TestRoot root;
        auto prepare = [this] {
            fresh();
            store(4, 1920, 1080);
            ram()->set_u16(Img::window(0, Img::W_X), 100);
            ram()->set_u16(Img::window(0, Img::W_W), 640);
            for (int win = 1; win < 6; ++win)
                ram()->set_u16(Img::window(win, Img::W_ON), 1);
            memcpy(ram()->ram_para_shadow, ram()->ram_para, Img::SIZE);
            g_set_led_para = 0;
            g_set_led_setup = 7;
            open();
        };
        auto windowsReset = [] {
            if (img(Img::window(0, Img::W_X)) != 0 || img(Img::window(0, Img::W_W)) != 1920)
                return false;
            for (int win = 1; win < 6; ++win)
                if (img(Img::window(win, Img::W_ON)) != 0)
                    return false;
            return true;
        };

        // same size and mode: areas rewritten, windows and LED flags alone
        prepare();
        setFpgaStates(3, 3);
        ram()->set_u16(Img::OUT1_W, 5);
        click("Button_apply1");
        QCOMPARE(img(Img::OUT1_W), 1920);
        QCOMPARE(int(c331_manage::para_update), 1);
        QCOMPARE(img(Img::window(0, Img::W_X)), 100);
        QCOMPARE(img(Img::window(3, Img::W_ON)), 1);
        QCOMPARE(int(g_set_led_para), 0);
        QCOMPARE(int(g_set_led_setup), 7);

        // mode change, both FPGAs running
        prepare();
        setFpgaStates(3, 3);
        choose(1);
        click("Button_apply1");
        QVERIFY(windowsReset());
        QCOMPARE(int(g_set_led_para), 1);
        QCOMPARE(int(g_set_led_setup), 0);
        // a second Apply after the refresh sees nothing new
        refresh();
        g_set_led_para = 0;
        g_set_led_setup = 7;
        click("Button_apply1");
        QCOMPARE(int(g_set_led_para), 0);
        QCOMPARE(int(g_set_led_setup), 7);

        // size change with one FPGA down, or without the FPGA manager
        for (int variant = 0; variant < 2; ++variant) {
            prepare();
            if (variant == 0)
                setFpgaStates(3, 1);
            choose(2);
            ram()->ram_para_shadow[Img::CANVAS_W] = 0xE8;   // saved canvas 1000 wide
            ram()->ram_para_shadow[Img::CANVAS_W + 1] = 0x03;
            click("Button_apply1");
            QVERIFY(windowsReset());
            QCOMPARE(int(g_set_led_para), 0);
            QCOMPARE(int(g_set_led_setup), 7);
            fpga_manage::destroyInstance();
        }
    }

    void refreshDiscardsTypingAndRefillRunsNoPreset()
    {
        TestRoot root;
        fresh();
        store(3, 1920, 1080, 960, 1080, 960, 1080);
        open();
        type("lineEdit_out1_width", QStringLiteral("700"));
        choose(1);   // vertical, not applied
        refresh();
        QCOMPARE(text("lineEdit_out1_width"), QStringLiteral("960"));
        QCOMPARE(text("lineEdit_out2_width"), QStringLiteral("960"));
        QCOMPARE(w<QComboBox>("comboBox")->currentIndex(), 0);
        click("Button_apply1");
        QCOMPARE(img(Img::SPLICE_MODE), 3);   // the mode came back from the image

        // a language change refills the list but keeps what was typed
        c331_manage::para_update = 0;
        type("lineEdit_out1_width", QStringLiteral("700"));
        u8 before[Img::SIZE];
        memcpy(before, ram()->ram_para, Img::SIZE);
        g_language = 0;
        screen->language_changed();
        QCOMPARE(w<QComboBox>("comboBox")->currentText(), QString::fromUtf8("水平拼接"));
        QCOMPARE(text("lineEdit_out1_width"), QStringLiteral("700"));
        QCOMPARE(text("lineEdit_out2_width"), QStringLiteral("1220"));
        QCOMPARE(memcmp(before, ram()->ram_para, Img::SIZE), 0);
        QCOMPARE(int(c331_manage::para_update), 0);

        // the panel language arriving through the refresh
        ram()->ram_para[Img::LANGUAGE] = 2;
        refresh();
        QCOMPARE(int(g_language), 2);
        QCOMPARE(w<QLabel>("label_title")->text(), QString::fromUtf8("Выход"));
        QCOMPARE(w<QLabel>("tile_label_0")->text(), QStringLiteral("LED1"));
        QCOMPARE(text("lineEdit_out1_width"), QStringLiteral("960"));
    }

    void portPageShowsBothFpgas()
    {
        TestRoot root;
        fresh();
        fpga_manage *f = fpga_manage::pInstance();
        QVERIFY(f->MCU_RAM_PARA_func[0] && f->MCU_RAM_PARA_func[1]);
        auto put = [f](int fpga, int offset, int x, int y, int wd, int ht) {
            const int v[4] = {x, y, wd, ht};
            for (int i = 0; i < 4; ++i) {
                f->MCU_RAM_PARA_func[fpga][offset + 2 * i] = u8(v[i]);
                f->MCU_RAM_PARA_func[fpga][offset + 2 * i + 1] = u8(v[i] >> 8);
            }
        };
        put(0, 8, 1, 2, 3, 4);
        put(0, 19, 512, 0, 256, 1080);
        put(0, 43, 1536, 7, 384, 540);
        put(0, 576, 11, 12, 13, 14);
        put(1, 8, 2048, 0, 640, 360);
        put(1, 600, 4000, 900, 320, 180);
        open();
        auto shown = [this] {
            return QStringList{text("lineEdit_X"), text("lineEdit_Y"), text("lineEdit_W"), text("lineEdit_H")}
                .join(QLatin1Char(' '));
        };
        auto tile = [this](int i) {
            QPushButton *b = nullptr;
            for (QPushButton *c : screen->findChildren<QPushButton *>(QString::number(i)))
                if (c->isVisibleTo(screen))
                    b = c;
            QVERIFY(b);
            QTest::mouseClick(b, Qt::LeftButton);
        };

        QCOMPARE(shown(), QStringLiteral("1 2 3 4"));   // port 0 at opening
        click("Button_lanset");
        QCOMPARE(w<QStackedWidget>("stackedWidget")->currentIndex(), 1);
        QCOMPARE(g_set_focus.data(), w<QPushButton>("Button_lanset"));
        QCOMPARE(w<QPushButton>("Button_ledset")->styleSheet(), QStringLiteral("color: #FFFFFF"));
        QCOMPARE(w<QPushButton>("Button_wlan2")->geometry(), QRect(235, 10, 130, 50));

        tile(1);
        QCOMPARE(shown(), QStringLiteral("512 0 256 1080"));
        QCOMPARE(g_wlan_frame[1]->styleSheet(), QString::fromLatin1(TILE_SELECTED));
        QCOMPARE(g_wlan_frame[0]->styleSheet(), QString::fromLatin1(TILE_PLAIN));
        tile(3);
        QCOMPARE(shown(), QStringLiteral("1536 7 384 540"));

        click("Button_wlan2");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(shown(), QStringLiteral("11 12 13 14"));   // port 9 = FPGA 0 index 8
        QCOMPARE(g_wlan_focus.data(), w<QPushButton>("Button_wlan2"));
        QCOMPARE(g_wlan_frame[0]->styleSheet(), QString::fromLatin1(TILE_SELECTED));
        QCOMPARE(w<QLabel>("tile_label_4")->text(), QStringLiteral("LED13"));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(w<QLabel>(qPrintable(QStringLiteral("tile_icon_%1").arg(i)))->property("res").toString(),
                     QStringLiteral(":/png/offline.png"));
        tile(4);
        QCOMPARE(shown(), QStringLiteral("2048 0 640 360"));   // LED13 = FPGA 1 index 0

        click("Button_wlan3");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        tile(7);
        QCOMPARE(shown(), QStringLiteral("4000 900 320 180"));   // LED24 = FPGA 1 index 11

        // without the FPGA manager every port reads zero
        fpga_manage::destroyInstance();
        tile(6);
        QCOMPARE(shown(), QStringLiteral("0 0 0 0"));
    }

    void textsInFiveLanguages()
    {
        TestRoot root;
        fresh();
        open();
        struct Lang {
            int code;
            const char *title, *apply, *vertical, *tip, *group2, *tile;
        };
        const Lang langs[] = {
            {0, "输出设置", "应用", "垂直拼接", "可设LED屏最大点数:16376(宽),16376(高)", "网口9~16", "网口LED1"},
            {1, "Output Seeting", "Apply", "VerticalS", "LED max:16376(w),16376(h)", "LED9~16", "LED1"},
            {2, "Выход", "OK", "Вертикально", "Ширина:16376(px)Высота:16376(px)", "LED9~16", "LED1"},
            {3, "Thông số đầu ra", "Đồng ý", "Chiều cao", "Điểm ảnh lớn nhất:16376(ngang),16376(dọc)", "LED9~16", "LED1"},
            {4, "輸出設置", "應用", "垂直拼接", "可設LED屏最大點數:16376(寬),16376(高)", "網口9~16", "網口LED1"},
        };
        for (const Lang &l : langs) {
            g_language = u8(l.code);
            screen->language_changed();
            screen->wlan_init();
            QCOMPARE(w<QLabel>("label_title")->text(), QString::fromUtf8(l.title));
            QCOMPARE(w<QPushButton>("Button_apply1")->text(), QString::fromUtf8(l.apply));
            QCOMPARE(w<QComboBox>("comboBox")->itemText(1), QString::fromUtf8(l.vertical));
            QCOMPARE(w<QLabel>("label_tip")->text(), QString::fromUtf8(l.tip));
            QCOMPARE(w<QPushButton>("Button_wlan2")->text(), QString::fromUtf8(l.group2));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(w<QLabel>("tile_label_0")->text(), QString::fromUtf8(l.tile));
        }
        // a language not allowed falls back to English
        g_language = 4;
        g_lcd_lang_valid = 0x0F;
        screen->language_changed();
        QCOMPARE(w<QLabel>("label_title")->text(), QStringLiteral("Output Seeting"));
        QCOMPARE(w<QLabel>("label_out1_width")->text(), QStringLiteral("W"));
        QCOMPARE(w<QLabel>("label_OUT1")->text(), QStringLiteral("OUT1"));
    }

    void backReturnsToTheSettingsMenu()
    {
        TestRoot root;
        fresh();
        open();
        QPointer<OutputSet> alive(screen);
        click("Button_back");
        QVERIFY(!g_outputset);
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
        screen = nullptr;
    }
};

QTEST_MAIN(TestOutputSet)
#include "test_outputset.moc"
