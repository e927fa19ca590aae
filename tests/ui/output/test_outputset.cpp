#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QtEndian>
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
    void open() { g_outputset = screen = new OutputSet; g_page_focus = PAGE_OUTPUT; screen->show(); }
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
                                        {Img::OUT1_W, 960}, {Img::OUT1_H, 1080}, {Img::OUT2_X, 960}, {Img::OUT2_Y, 0},
                                        {Img::OUT2_W, 960}, {Img::OUT2_H, 1080}, {Img::window(0, Img::W_X), 0},
                                        {Img::window(0, Img::W_Y), 0}, {Img::window(0, Img::W_W), 1920},
                                        {Img::window(0, Img::W_H), 1080}};
            for (int off = 0; off < Img::SIZE; off += 2) {
                int want = expect.value(off, before[off] | before[off + 1] << 8);
                for (int win = 1; win < 6; ++win)
                    want = off == Img::window(win, Img::W_ON) ? 0 : want;
                expectImage({{off, want}});
            }
            QCOMPARE(int(c331_manage::para_update), 1);
        }
        // presets split odd sizes and wide canvases (32-pixel steps, one output's limit);
        // an unknown saved mode is applied as copy; output areas from outside larger
        // than the canvas, or a canvas read negative, never wrap
        struct Case { int mode, w, h, o1w, o1h, o2h, choice; std::vector<std::pair<int, int>> want; };
        const Case cases[] = {
            {4, 1921, 1081, 1920, 1080, 1080, 0, {{Img::CANVAS_W, 1921}, {Img::OUT1_W, 968}, {Img::OUT2_W, 953}, {Img::OUT1_H, 1081}}},
            {4, 10000, 1080, 1920, 1080, 1080, 0, {{Img::CANVAS_W, 10000}, {Img::OUT1_W, 5024}, {Img::OUT2_W, 4976}}},
            {4, 1921, 1081, 1920, 1080, 1080, 1, {{Img::SPLICE_MODE, 2}, {Img::OUT1_W, 1921}, {Img::OUT2_W, 1921},
                                                  {Img::OUT1_H, 541}, {Img::OUT2_X, 0}, {Img::OUT2_Y, 541}, {Img::OUT2_H, 540}}},
            {3, 9000, 1080, 1920, 1080, 1080, 2, {{Img::CANVAS_W, 8188}, {Img::OUT1_W, 8188}, {Img::OUT2_W, 8188}}},
            {5, 1920, 1080, 2560, 1080, 1080, -1, {{Img::SPLICE_MODE, 4}, {Img::OUT1_W, 1920}, {Img::OUT2_W, 1920}, {Img::OUT2_H, 1080}}},
            {3, 1920, 1080, 3000, 1500, 1080, -1, {{Img::OUT1_W, 1920}, {Img::OUT2_X, 1920}, {Img::OUT2_W, 0}, {Img::OUT1_H, 1080}}},
            {2, 1920, 1080, 2500, 2000, 40000, -1, {{Img::OUT1_W, 1920}, {Img::OUT1_H, 1080}, {Img::OUT2_Y, 1080}, {Img::OUT2_H, 0}}},
            {4, 1920, 40000, 1920, 1080, 1080, -1, {{Img::CANVAS_H, 40000}, {Img::OUT1_H, 0}, {Img::OUT2_H, 0}, {Img::OUT2_W, 1920}}},
        };
        for (const Case &c : cases) {
            Output o(c.mode, c.w, c.h, c.o1w, c.o1h, 500, c.o2h);
            o.open();
            if (c.choice >= 0)
                o.choose(c.choice);
            // nothing reaches the image before Apply
            QCOMPARE(QStringLiteral("%1 %2").arg(int(c331_manage::para_update)).arg(img(Img::OUT1_W)), QStringLiteral("0 %1").arg(c.o1w));
            click(o.screen, "Button_apply1");
            expectImage(c.want);
        }
    }

    // Typed sizes follow the rules; a refresh discards what was not applied, a language change keeps it.
    void keypadRefreshAndLanguage()
    {
        {
            Output o(3, 1920, 1080, 960, 1080, 960, 1080);
            o.open();
            QCOMPARE(o.typeW("0700"), QStringLiteral("700 1220"));
            // refused: nothing typed, wider than the canvas, not all digits, another screen's field
            o.typeW(QString());
            QCOMPARE(o.typeW("9000"), QStringLiteral("700 1220"));
            QCOMPARE(g_lineedit.data(), child<My_lineEdit>(o.screen, "lineEdit_out1_width"));
            o.screen->confirmString(QStringLiteral("12a"));
            o.screen->confirmString(QStringLiteral(" 12"));
            My_lineEdit other;
            other.setObjectName(QStringLiteral("lineEdit_out1_width"));
            g_lineedit = &other;
            o.screen->confirmString(QStringLiteral("5"));
            g_lineedit = nullptr;
            QCOMPARE(o.widths(), QStringLiteral("700 1220"));
            click(o.screen, "Button_apply1");
            expectImage({{Img::OUT1_W, 700}, {Img::OUT2_X, 700}, {Img::OUT2_W, 1220}});
            // vertical: the height is split, up to the canvas height
            o.choose(1);
            QCOMPARE(o.typeH("700"), QStringLiteral("700 380"));
            QCOMPARE(o.typeH("1081"), QStringLiteral("700 380"));
            QCOMPARE(o.typeH("1080"), QStringLiteral("1080 0"));
            QCOMPARE(o.typeW("1000"), QStringLiteral("1000 1000"));
            o.refresh();   // not applied: gone, the mode comes back from the image
            QCOMPARE(o.widths() + ' ' + QString::number(o.combo()->currentIndex()), QStringLiteral("700 1220 0"));
            click(o.screen, "Button_apply1");
            QCOMPARE(img(Img::SPLICE_MODE), 3);
            // a language change refills the list but keeps what was typed, and runs no preset
            c331_manage::para_update = 0;
            o.typeW("800");
            const QByteArray before = TestEnv::image();
            g_language = 3;
            o.screen->language_changed();
            QCOMPARE(labelText(o.screen, "label_title"), QStringLiteral("Thông số đầu ra"));
            QCOMPARE(o.widths() + ' ' + QString::number(o.combo()->currentIndex()), QStringLiteral("800 1120 0"));
            QVERIFY(TestEnv::image() == before && c331_manage::para_update == 0);
            // the panel language arriving through the refresh
            o.para->ram_para[Img::LANGUAGE] = 2;
            o.refresh();
            QCOMPARE(QString::number(g_language) + ' ' + o.widths(), QStringLiteral("2 700 1220"));
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

    void sizeOrModeChangeResetsWindowsAndAsksForLedSetup_data()
    {
        QTest::addColumn<int>("choice");      // the list row chosen, -1 none
        QTest::addColumn<int>("fpga1");       // FPGA 1's state, -1 without the manager
        QTest::addColumn<QString>("after");   // window 0's x and w, windows 1..5 on, LED para, LED setup
        QTest::newRow("same size and mode") << -1 << 3 << "100 640 11111 0 7";
        QTest::newRow("mode change") << 1 << 3 << "0 1920 00000 1 0";
        QTest::newRow("size change, one FPGA down") << 2 << 1 << "0 1920 00000 0 7";
        QTest::newRow("size change, no manager") << 2 << -1 << "0 1920 00000 0 7";
    }
    void sizeOrModeChangeResetsWindowsAndAsksForLedSetup()
    {
        QFETCH(int, choice);
        QFETCH(int, fpga1);
        Output o(4, 1920, 1080);
        for (int win = 1; win < 6; ++win)
            o.para->set_u16(Img::window(win, Img::W_ON), 1);
        o.para->set_u16(Img::window(0, Img::W_X), 100);
        o.para->set_u16(Img::window(0, Img::W_W), 640);
        o.settle();
        g_set_led_setup = 7;
        if (fpga1 >= 0) {
            fpga_manage *f = fpga_manage::pInstance();
            f->MCU_REG_func[0][80] = 3;   // running
            f->MCU_REG_func[1][80] = u8(fpga1);
        }
        o.open();
        if (choice >= 0)
            o.choose(choice);
        else
            o.para->set_u16(Img::OUT1_W, 5);   // the areas are rewritten all the same
        if (choice == 2)
            qToLittleEndian<u16>(1000, o.para->ram_para_shadow + Img::CANVAS_W);   // saved canvas 1000 wide
        const auto apply = [&o] {
            click(o.screen, "Button_apply1");
            QString state = QStringLiteral("%1 %2 ").arg(img(Img::window(0, Img::W_X))).arg(img(Img::window(0, Img::W_W)));
            for (int win = 1; win < 6; ++win)
                state += QString::number(img(Img::window(win, Img::W_ON)));
            return state + QStringLiteral(" %1 %2").arg(int(g_set_led_para)).arg(int(g_set_led_setup));
        };
        QTEST(apply(), "after");
        QCOMPARE(int(c331_manage::para_update) * 10000 + img(Img::OUT1_W), 11920);
        // a second Apply after the refresh sees nothing new
        o.refresh();
        g_set_led_para = 0;
        g_set_led_setup = 7;
        QCOMPARE(apply().right(3), QStringLiteral("0 7"));
    }

    // LED1 at opening, LED24 (FPGA 1 index 11); each port's address is the manager's own test.
    void portPageShowsBothFpgas()
    {
        Output o(4, 1920, 1080);
        fpga_manage *f = fpga_manage::pInstance();
        const int v[2][4] = {{1, 2, 3, 4}, {4000, 900, 320, 180}};   // x y w h
        for (int i = 0; i < 8; ++i) {
            f->MCU_RAM_PARA_func[0][8 + i] = u8(v[0][i / 2] >> (i % 2 * 8));
            f->MCU_RAM_PARA_func[1][600 + i] = u8(v[1][i / 2] >> (i % 2 * 8));
        }
        o.open();
        auto shown = [&o] {
            return QStringList{o.text("lineEdit_X"), o.text("lineEdit_Y"), o.text("lineEdit_W"), o.text("lineEdit_H")}.join(' ');
        };
        QCOMPARE(shown(), QStringLiteral("1 2 3 4"));
        for (const char *b : {"Button_lanset", "Button_wlan3", "7"})
            click(o.screen, b);
        QCOMPARE(shown(), QStringLiteral("4000 900 320 180"));
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
