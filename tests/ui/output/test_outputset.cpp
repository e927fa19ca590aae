#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <vector>

#include "core/global.h"
#include "core/param_layout.h"
#include "led_output/fpga_manage.h"
#include "ui/shell/device_requests.h"
#include "tests/support/widget_helpers.h"
#include "ui/output/outputset.h"
#include "ui/shell/my_lineedit.h"

namespace {

int img(int offset) { return QelRamPara::p_qelrampara_config->get_u16(offset); }

// The image holds these 16-bit values.
void expectImage(const std::vector<std::pair<int, int>> &want)
{
    for (const auto &[off, value] : want)
        QVERIFY2(img(off) == value, qPrintable(QStringLiteral("offset %1: %2, want %3").arg(off).arg(img(off)).arg(value)));
}

// The output screen over a saved canvas, splice mode and output areas.
struct Output : ScreenEnv
{
    OutputSet *screen = nullptr;

    Output(int mode, int w, int h, int o1w = 1920, int o1h = 1080, int o2w = 1920, int o2h = 1080)
    {
        for (const auto &[offset, value] : {std::pair{Img::SPLICE_MODE, mode}, {Img::CANVAS_W, w}, {Img::CANVAS_H, h},
                                            {Img::OUT1_W, o1w}, {Img::OUT1_H, o1h}, {Img::OUT2_W, o2w}, {Img::OUT2_H, o2h}})
            para->set_u16(offset, u16(value));
        settle();
    }
    ~Output() { delete screen; fpga_manage::destroyInstance(); }
    void open()
    {
        g_outputset = screen = new OutputSet;
        g_page_focus = PAGE_OUTPUT;
        screen->show();
    }
    QString text(const char *field) const { return child<QLineEdit>(screen, field)->text(); }
    // "OUT1 OUT2" as the fields show them.
    QString widths() const { return text("lineEdit_out1_width") + ' ' + text("lineEdit_out2_width"); }
    QString heights() const { return text("lineEdit_out1_height") + ' ' + text("lineEdit_out2_height"); }
    QComboBox *combo() const { return child<QComboBox>(screen, "comboBox"); }
    // The operator's choice in the splice list.
    void choose(int index)
    {
        QAbstractItemView *view = combo()->view();
        combo()->showPopup();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(index, 0)).center());
        QCOMPARE(combo()->currentIndex(), index);
    }
    // Types on OUT1's width (height) with the keypad; both outputs' widths (heights) after.
    QString typeW(const QString &d) { enterInField(child<My_lineEdit>(screen, "lineEdit_out1_width"), d); return widths(); }
    QString typeH(const QString &d) { enterInField(child<My_lineEdit>(screen, "lineEdit_out1_height"), d); return heights(); }
    // What para_sync does around the screen's refresh.
    void refresh() { screen->syncUpdate(); settle(); }
};

}

class TestOutputSet : public QObject
{
    Q_OBJECT

private slots:
    void presetsSplitOddEvenAndWideCanvases()
    {
        struct Row { int w, h, index; const char *areas; int shown; };   // areas: widths, then heights
        const Row rows[] = {{1920, 1080, 0, "960 960 1080 1080", 1920},   {1921, 1081, 0, "968 953 1081 1081", 1921},
                            {10000, 1080, 0, "5024 4992 1080 1080", 10000},   // 32-pixel steps, padded span
                            {1920, 1080, 1, "1920 1920 540 540", 1920},   {1921, 1081, 1, "1921 1921 541 540", 1921},
                            {1921, 1081, 2, "1921 1921 1081 1081", 1921}, {9000, 1080, 2, "8188 8188 1080 1080", 8188}};
        for (const Row &r : rows) {
            Output o(r.index == 2 ? 3 : 4, r.w, r.h);
            o.open();
            o.choose(r.index);
            QCOMPARE(o.widths() + ' ' + o.heights(), QString::fromLatin1(r.areas));
            QCOMPARE(o.text("lineEdit_width").toInt(), r.shown);
            // nothing reaches the image before Apply
            QCOMPARE(QStringLiteral("%1 %2").arg(int(c331_manage::para_update)).arg(img(Img::OUT1_W)), QStringLiteral("0 1920"));
            click(o.screen, "Button_apply1");
            const QStringList a = QString::fromLatin1(r.areas).split(' ');
            expectImage({{Img::CANVAS_W, r.shown}, {Img::OUT1_W, a[0].toInt()}, {Img::OUT1_H, a[2].toInt()}});
        }
    }

    void applyWritesExactlyTheOutputAreas()
    {
        {
            Output o(4, 1920, 1080);
            o.open();
            o.choose(0);
            child<QLineEdit>(o.screen, "lineEdit_out2_width")->setText(QStringLiteral("5"));   // not read
            u8 before[Img::SIZE];
            memcpy(before, o.para->ram_para, Img::SIZE);
            click(o.screen, "Button_apply1");
            const QMap<int, int> expect{{Img::SPLICE_MODE, 3}, {Img::CANVAS_W, 1920}, {Img::CANVAS_H, 1080},
                                        {Img::OUT1_W, 960},    {Img::OUT1_H, 1080},   {Img::OUT2_X, 960},
                                        {Img::OUT2_Y, 0},      {Img::OUT2_W, 960},    {Img::OUT2_H, 1080},
                                        {Img::window(0, Img::W_X), 0}, {Img::window(0, Img::W_Y), 0},
                                        {Img::window(0, Img::W_W), 1920}, {Img::window(0, Img::W_H), 1080}};
            for (int off = 0; off < Img::SIZE; off += 2) {
                int want = expect.value(off, before[off] | before[off + 1] << 8);
                for (int win = 1; win < 6; ++win)
                    want = off == Img::window(win, Img::W_ON) ? 0 : want;
                expectImage({{off, want}});
            }
            QCOMPARE(int(c331_manage::para_update), 1);
        }
        // vertical: OUT2 starts below OUT1; an unknown saved mode is applied as copy;
        // output areas from outside larger than the canvas, or a canvas read negative, never wrap
        struct Case { int mode, h, o1w, o1h, o2h, choice; std::vector<std::pair<int, int>> want; };
        const Case cases[] = {
            {4, 1081, 1920, 1080, 1080, 1,
             {{Img::SPLICE_MODE, 2}, {Img::OUT1_W, 1920}, {Img::OUT2_W, 1920}, {Img::OUT1_H, 541},
              {Img::OUT2_X, 0}, {Img::OUT2_Y, 541}, {Img::OUT2_H, 540}}},
            {5, 1080, 2560, 1080, 1080, -1,
             {{Img::SPLICE_MODE, 4}, {Img::OUT1_W, 1920}, {Img::OUT2_W, 1920}, {Img::OUT2_H, 1080}}},
            {3, 1080, 3000, 1500, 1080, -1,
             {{Img::OUT1_W, 1920}, {Img::OUT2_X, 1920}, {Img::OUT2_W, 0}, {Img::OUT1_H, 1080}, {Img::OUT2_H, 1080}}},
            {2, 1080, 2500, 2000, 40000, -1,
             {{Img::OUT1_W, 1920}, {Img::OUT1_H, 1080}, {Img::OUT2_Y, 1080}, {Img::OUT2_H, 0}}},
            {4, 40000, 1920, 1080, 1080, -1,   // a canvas height beyond 32767 reads negative
             {{Img::CANVAS_H, 40000}, {Img::OUT1_H, 0}, {Img::OUT2_H, 0}, {Img::OUT2_W, 1920}}},
        };
        for (const Case &c : cases) {
            Output o(c.mode, 1920, c.h, c.o1w, c.o1h, 500, c.o2h);
            o.open();
            if (c.choice >= 0)
                o.choose(c.choice);
            click(o.screen, "Button_apply1");
            expectImage(c.want);
        }
    }

    void keypadEntriesFollowTheRules()
    {
        {
            Output o(3, 1920, 1080, 960, 1080, 960, 1080);
            o.open();
            QCOMPARE(o.typeW("0700"), QStringLiteral("700 1220"));
            // refused: nothing typed, wider than the canvas, not all digits
            o.typeW(QString());
            QCOMPARE(o.typeW("9000"), QStringLiteral("700 1220"));
            QCOMPARE(g_lineedit.data(), child<My_lineEdit>(o.screen, "lineEdit_out1_width"));
            o.screen->confirmString(QStringLiteral("12a"));
            o.screen->confirmString(QStringLiteral(" 12"));
            QCOMPARE(o.widths(), QStringLiteral("700 1220"));
            click(o.screen, "Button_apply1");
            expectImage({{Img::OUT1_W, 700}, {Img::OUT2_X, 700}, {Img::OUT2_W, 1220}});

            // vertical: the height is split, up to the canvas height
            o.choose(1);
            QCOMPARE(o.typeH("700"), QStringLiteral("700 380"));
            QCOMPARE(o.typeH("1081"), QStringLiteral("700 380"));
            QCOMPARE(o.typeH("1080"), QStringLiteral("1080 0"));
            QCOMPARE(o.typeW("1000"), QStringLiteral("1000 1000"));
            // another screen's field is not ours
            My_lineEdit other;
            other.setObjectName(QStringLiteral("lineEdit_out1_width"));
            g_lineedit = &other;
            o.screen->confirmString(QStringLiteral("5"));
            g_lineedit = nullptr;
            QCOMPARE(o.widths(), QStringLiteral("1000 1000"));
        }
        {
            // canvases wider than 8188: 32-pixel steps; above one output's limit
            // the areas are split side by side, the list left alone
            Output o(4, 10000, 1080);
            o.open();
            QCOMPARE(o.typeW("5000"), QStringLiteral("5024 5024"));
            QCOMPARE(o.typeW("9000"), QStringLiteral("8192 1840"));
            QCOMPARE(o.combo()->currentIndex(), 2);
            click(o.screen, "Button_apply1");
            expectImage({{Img::SPLICE_MODE, 3}, {Img::OUT1_W, 8192}, {Img::OUT2_W, 1808}});
            QCOMPARE(o.typeW("5000"), QStringLiteral("5024 5008"));
        }
        // rounding up never passes the canvas
        Output o(3, 8190, 1080, 4096, 1080, 4094, 1080);
        o.open();
        QCOMPARE(o.typeW("8180").section(QLatin1Char(' '), 0, 0), QStringLiteral("8190"));
        click(o.screen, "Button_apply1");
        expectImage({{Img::OUT1_W, 8190}, {Img::OUT2_W, 0}});
    }

    void sizeOrModeChangeResetsWindowsAndAsksForLedSetup()
    {
        // variant 0 same size and mode, 1 mode change, 2 size change with one FPGA down,
        // 3 size change without the FPGA manager
        for (int variant = 0; variant < 4; ++variant) {
            Output o(4, 1920, 1080);
            for (int win = 1; win < 6; ++win)
                o.para->set_u16(Img::window(win, Img::W_ON), 1);
            o.para->set_u16(Img::window(0, Img::W_X), 100);
            o.para->set_u16(Img::window(0, Img::W_W), 640);
            o.settle();
            g_set_led_setup = 7;
            if (variant < 3) {
                fpga_manage *f = fpga_manage::pInstance();
                f->MCU_REG_func[0][80] = 3;   // running
                f->MCU_REG_func[1][80] = variant == 2 ? 1 : 3;
            }
            o.open();
            if (variant == 0)
                o.para->set_u16(Img::OUT1_W, 5);
            if (variant == 1)
                o.choose(1);
            if (variant >= 2) {
                o.choose(2);
                o.para->ram_para_shadow[Img::CANVAS_W] = 0xE8;   // saved canvas 1000 wide
                o.para->ram_para_shadow[Img::CANVAS_W + 1] = 0x03;
            }
            click(o.screen, "Button_apply1");
            QCOMPARE(int(c331_manage::para_update), 1);
            // window 0's x and width, windows 1..5 on, then the LED requests
            QString state = QStringLiteral("%1 %2 ").arg(img(Img::window(0, Img::W_X))).arg(img(Img::window(0, Img::W_W)));
            for (int win = 1; win < 6; ++win)
                state += QString::number(img(Img::window(win, Img::W_ON)));
            state += QStringLiteral(" %1 %2").arg(int(g_set_led_para)).arg(int(g_set_led_setup));
            QCOMPARE(state, QString::fromLatin1(variant == 0 ? "100 640 11111 0 7" : variant == 1 ? "0 1920 00000 1 0" : "0 1920 00000 0 7"));
            if (variant == 0)
                QCOMPARE(img(Img::OUT1_W), 1920);   // the areas are rewritten all the same
            if (variant == 1) {
                // a second Apply after the refresh sees nothing new
                o.refresh();
                g_set_led_para = 0;
                g_set_led_setup = 7;
                click(o.screen, "Button_apply1");
                QCOMPARE(int(g_set_led_para) * 10 + int(g_set_led_setup), 7);
            }
        }
    }

    void refreshDiscardsTypingLanguageKeepsItAndBack()
    {
        Output o(3, 1920, 1080, 960, 1080, 960, 1080);
        o.open();
        o.typeW("700");
        o.choose(1);   // vertical, not applied
        o.refresh();
        QCOMPARE(o.widths(), QStringLiteral("960 960"));
        QCOMPARE(o.combo()->currentIndex(), 0);
        click(o.screen, "Button_apply1");
        QCOMPARE(img(Img::SPLICE_MODE), 3);   // the mode came back from the image

        // a language change refills the list but keeps what was typed, and runs no preset
        c331_manage::para_update = 0;
        o.typeW("700");
        u8 before[Img::SIZE];
        memcpy(before, o.para->ram_para, Img::SIZE);
        const char *const titles[5] = {"输出设置", "Output Seeting", "Выход", "Thông số đầu ra", "輸出設置"};
        for (int lang = 0; lang < 5; ++lang) {
            g_language = u8(lang);
            o.screen->language_changed();
            QCOMPARE(labelText(o.screen, "label_title"), QString::fromUtf8(titles[lang]));
        }
        QCOMPARE(o.combo()->currentIndex(), 0);
        QCOMPARE(o.widths(), QStringLiteral("700 1220"));
        QCOMPARE(memcmp(before, o.para->ram_para, Img::SIZE), 0);
        QCOMPARE(int(c331_manage::para_update), 0);

        // the panel language arriving through the refresh
        o.para->ram_para[Img::LANGUAGE] = 2;
        o.refresh();
        QCOMPARE(int(g_language), 2);
        QCOMPARE(o.widths(), QStringLiteral("960 960"));

        QPointer<OutputSet> alive(o.screen);
        click(o.screen, "Button_back");
        QVERIFY(!g_outputset && !alive);   // deleted; where Back leads is the openers' test
        o.screen = nullptr;
    }

    void portPageShowsBothFpgas()
    {
        struct Port { int group, tile, fpga, offset, v[4]; };   // v: x y w h
        const Port ports[] = {
            {0, 0, 0, 8, {1, 2, 3, 4}},
            {0, 1, 0, 19, {512, 0, 256, 1080}},    // odd offsets; each port's address is the manager's own test
            {1, 4, 1, 8, {2048, 0, 640, 360}},     // LED13 = FPGA 1 index 0
            {2, 7, 1, 600, {4000, 900, 320, 180}}, // LED24 = FPGA 1 index 11
        };
        Output o(4, 1920, 1080);
        fpga_manage *f = fpga_manage::pInstance();
        for (const Port &p : ports)
            for (int i = 0; i < 8; ++i)
                f->MCU_RAM_PARA_func[p.fpga][p.offset + i] = u8(p.v[i / 2] >> (i % 2 * 8));
        o.open();
        auto shown = [&o] {
            return QStringList{o.text("lineEdit_X"), o.text("lineEdit_Y"), o.text("lineEdit_W"), o.text("lineEdit_H")}.join(' ');
        };
        QCOMPARE(shown(), QStringLiteral("1 2 3 4"));   // port 0 at opening
        click(o.screen, "Button_lanset");
        for (const Port &p : ports) {
            click(o.screen, QStringLiteral("Button_wlan%1").arg(p.group + 1));
            click(o.screen, QString::number(p.tile));
            QCOMPARE(shown(), QStringLiteral("%1 %2 %3 %4").arg(p.v[0]).arg(p.v[1]).arg(p.v[2]).arg(p.v[3]));
        }
        // an LED set-up, whoever asked for it, re-reads the shown port
        f->MCU_RAM_PARA_func[1][600] = 77;
        f->MCU_RAM_PARA_func[1][601] = 0;
        emit JobRelay::instance()->led_setup_done();
        QCOMPARE(shown(), QStringLiteral("77 900 320 180"));
        // without the FPGA manager every port reads zero
        fpga_manage::destroyInstance();
        click(o.screen, QStringLiteral("6"));
        QCOMPARE(shown(), QStringLiteral("0 0 0 0"));
    }
};

QTEST_MAIN(TestOutputSet)
#include "test_outputset.moc"
