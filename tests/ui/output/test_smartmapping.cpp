#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QStackedWidget>
#include <QToolButton>

#include "core/global.h"
#include "core/param_layout.h"
#include "core/refresh_codes.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/support/widget_helpers.h"
#include "ui/output/smartmapping.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screen_registry.h"

namespace {

// LED1: three cards; LED3: two cards that never answer; LED14 (FPGA 1
// port 1, second group, tile 5): four cards.
const char *kSim = R"({"fpgas":[{"state":3,"version":[1,6,11,26]},{"state":3,"version":[1,6,11,26]}],
                       "cards":{"1":3,"3":2,"14":4},"card_reply":{"3":"never"}})";

const QString kGreen = QStringLiteral("background-color: #212435;border:1px solid #00D65B;");
const QString kSelected = QStringLiteral("background-color:#4777FF;color:#FFFFFF");

// width height port rows columns routing of the cabinet record
QString line()
{
    std::lock_guard<std::mutex> lock(g_line_type_mutex);
    const LINE_TYPE &l = line_type;
    return QStringLiteral("%1 %2 %3 %4 %5 %6").arg(l.cabinet_width).arg(l.cabinet_height).arg(l.output_port)
        .arg(l.rows).arg(l.columns).arg(l.routing);
}
QString chosenFile()
{
    std::lock_guard<std::mutex> lock(g_line_type_mutex);
    return g_qlfile_name;
}

// The wizard on a simulated wall, opened as the settings menu opens it.
struct Wizard : ScreenEnv
{
    QPointer<SmartMapping> screen;
    fpga_manage *m = nullptr;
    QList<int> progress;

    explicit Wizard(bool manager = true)
    {
        root.writeSim(kSim);
        if (manager)
            m = fpga_manage::pInstance();
    }
    ~Wizard()
    {
        delete screen.data();
        fpga_manage::destroyInstance();
        JobRelay::instance()->attach(nullptr, 0);   // the next manager may reuse the address
    }
    void open()
    {
        register_screens();
        screen = static_cast<SmartMapping *>(ScreenRegistry::find(PAGE_SMART_MAPPING)->create());
        QCOMPARE(int(g_page_focus), int(PAGE_SMART_MAPPING));
        screen->show();
        progress.clear();
        QObject::connect(screen, &SmartMapping::sig_qround_bar_update, [this](int v) { progress.append(v); });
    }
    rcv_card card(int port, int c) const { return m->fpga(port / 12)->card(port % 12, c); }
    int page() const { return child<QStackedWidget>(screen, "stackedWidget")->currentIndex(); }
    QString text(const char *name) const { return child<QAbstractButton>(screen, name)->text(); }
    QString style(const char *name) const { return child(screen, name)->styleSheet(); }
    // Presses a named button, inside the named run-time container when given
    // (port tiles and list rows are named by their number).
    void press(const QString &name, const char *in = nullptr)
    {
        QObject *parent = in ? child(screen, in) : screen.data();
        QAbstractButton *b = child<QAbstractButton>(parent, name);
        QVERIFY2(b, qPrintable(name));
        QTest::mouseClick(b, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void tile(int t) { press(QString::number(t), "tiles_frame"); }
    void row(int k) { press(QString::number(k), "frame_file"); }
    void type(const char *field, const QString &digits)
    {
        onModal([digits](QWidget *pad) {
            QVERIFY(pad == g_numberkeyboard);
            typeOnKeypad(digits);
        });
        QTest::mouseClick(child<QLineEdit>(screen, field), Qt::LeftButton);
    }
    // Steps the manager until the ring closes: it rose within 0..99 and closed at 100.
    void runJob()
    {
        QVERIFY(g_qround_bar);
        for (int i = 0; i < 20000 && g_qround_bar; ++i) {
            m->pass();
            TestEnv::advanceTicks(10);
            QCoreApplication::processEvents();
        }
        QVERIFY(!g_qround_bar);
        QCOMPARE(int(g_send_para.word.load()), 0);
        QCOMPARE(progress.last(), 100);
        for (int i = 0; i + 1 < progress.size(); ++i)
            QVERIFY(progress[i] <= 99 && (i == 0 || progress[i] >= progress[i - 1]));
        progress.clear();
    }
    // Opens the load-scan list on port tile `tile` of the first group.
    void listFiles(int t = 0)
    {
        press("Button_loadscan");
        QCOMPARE(page(), 4);
        tile(t);
        press("Button_next_5");
        QCOMPARE(page(), 5);
    }
    QString rowStyle(int k) const { return child<QLabel>(screen, QStringLiteral("row_label_%1").arg(k))->styleSheet(); }
    int rows() const { return screen->findChildren<QLabel *>(QRegularExpression("^row_label_")).size(); }
};

}

class TestSmartMapping : public QObject
{
    Q_OBJECT

private slots:
    void walksEveryPageAndBack()
    {
        Wizard w;
        w.root.write("/data/smartmapping/a.qlfile", "scan");
        {
            std::lock_guard<std::mutex> lock(g_line_type_mutex);
            line_type = LINE_TYPE{64, 32, 0, 0, 9, 3, 3, 5};   // from an earlier opening
        }
        w.open();
        QCOMPARE(w.page(), 0);
        QCOMPARE(child<QLineEdit>(w.screen, "lineEdit_X")->text() + child<QLineEdit>(w.screen, "lineEdit_Y")->text(),
                 QStringLiteral("12896"));
        QCOMPARE(res(w.screen, "Button_route"), QStringLiteral(":/png/line1.png"));
        QCOMPARE(w.text("Button_route"), QStringLiteral("Routing 1"));
        QCOMPARE(line(), QStringLiteral("64 32 0 3 3 1"));   // size kept until Next

        w.press("Button_next");
        QCOMPARE(line(), QStringLiteral("128 96 0 3 3 1"));
        QCOMPARE(w.style("tile_frame_0"), kGreen);
        w.press("Button_wlan2");
        QCOMPARE(labelText(w.screen, "tile_label_0"), QStringLiteral("LED9"));
        QVERIFY(w.style("tile_frame_0") != kGreen);
        w.tile(3);
        QCOMPARE(line(), QStringLiteral("128 96 11 3 3 1"));
        QCOMPARE(w.style("tile_frame_3"), kGreen);

        // page by page: what is pressed, the page it leads to
        const std::pair<const char *, int> steps[] = {
            {"Button_front_2", 0}, {"Button_next", 1}, {"Button_next_2", 2}, {"Button_route", 3},
            {"Button_route7", 2},  {"Button_route", 3}, {"Button_cancel", 2}, {"Button_front_3", 1},
            {"Button_loadscan", 4}, {"Button_next_5", 5}, {"Button_front_6", 4}, {"Button_paraweld", 6},
            {"Button_mapping", 7}, {"Button_shortcut", 0}};
        for (const auto &[button, page] : steps) {
            w.press(button);
            QCOMPARE(w.page(), page);
        }
        QCOMPARE(labelText(w.screen, "tile_label_0"), QStringLiteral("LED1"));   // Next chose the first group again
        QCOMPARE(res(w.screen, "Button_route"), QStringLiteral(":/png/line7.png"));
        QCOMPARE(res(w.screen, "Button_route16"), QStringLiteral(":/png/line16.png"));
        QCOMPARE(line(), QStringLiteral("128 96 11 3 3 7"));
        QCOMPARE(w.style("Button_shortcut") + w.style("Button_mapping"),
                 kSelected + QStringLiteral("background-color:#10101C;color:#FFFFFF"));

        w.press("Button_back");
        QVERIFY(!g_smartmapping && !w.screen);
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
    }

    void sendPlacesTheCardsOfThePort_data()
    {
        QTest::addColumn<int>("pattern");
        QTest::addColumn<QString>("cells");   // row,col of cards 0..3 on a 2 x 2 block
        QTest::addColumn<bool>("slowCards");
        QTest::newRow("1 from the bottom, snaking") << 1 << "1,1 1,0 0,0 0,1" << false;
        QTest::newRow("6 from the right, snaking") << 6 << "0,1 1,1 1,0 0,0" << false;
        QTest::newRow("12 rows from the top, right to left") << 12 << "0,1 0,0 1,1 1,0" << false;
        QTest::newRow("16 columns from the right, late and silent cards") << 16 << "0,1 1,1 0,0 1,0" << true;
    }
    void sendPlacesTheCardsOfThePort()
    {
        QFETCH(int, pattern);
        QFETCH(QString, cells);
        QFETCH(bool, slowCards);
        Wizard w;
        if (slowCards) {
            w.m->fpga(1)->set_card_reply(1, 0, RcvReply::Late);
            w.m->fpga(1)->set_card_reply(1, 2, RcvReply::Never);
        }
        w.open();
        w.type("lineEdit_X", "160");
        w.type("lineEdit_Y", "90");
        w.press("Button_next");
        w.press("Button_wlan2");
        w.tile(5);   // LED14
        w.press("Button_next_2");
        for (const auto &[field, typed] : {std::pair<const char *, const char *>{"lineEdit_line", "2"},
                                           {"lineEdit_column", "2"}, {"lineEdit_horzion", "1000"},
                                           {"lineEdit_vert", "20"}})
            w.type(field, typed);
        w.press("Button_route");
        w.press(QStringLiteral("Button_route%1").arg(pattern));
        w.press("Button_send");
        QCOMPARE(int(g_send_para.job()), int(JOB_SMART_MAPPING));
        QCOMPARE(g_qround_bar->parentWidget(), w.screen.data());
        w.runJob();

        const QStringList want = cells.split(' ');
        for (int c = 0; c < 4; ++c) {
            const QStringList rc = want[c].split(',');
            const rcv_card card = w.card(13, c);
            QCOMPARE(int(card.position_x()), 1000 + 160 * rc[1].toInt());
            QCOMPARE(int(card.position_y()), 20 + 90 * rc[0].toInt());
            QCOMPARE(card.ram_writes, 1u);
        }
        QCOMPARE(w.card(0, 0).frames, 0u);   // other ports untouched
    }

    void keypadTakesWholeNumbersInRange_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("rows 0") << "lineEdit_line" << "0" << "1";
        QTest::newRow("rows 256") << "lineEdit_line" << "256" << "1";
        QTest::newRow("rows nothing") << "lineEdit_line" << "" << "1";
        QTest::newRow("rows 255") << "lineEdit_line" << "255" << "255";
        QTest::newRow("columns 007") << "lineEdit_column" << "007" << "7";
        QTest::newRow("width 65536") << "lineEdit_X" << "65536" << "128";
        QTest::newRow("width 65535") << "lineEdit_X" << "65535" << "65535";
        QTest::newRow("offset 0") << "lineEdit_vert" << "0" << "0";
    }
    void keypadTakesWholeNumbersInRange()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Wizard w;
        w.open();
        w.press("Button_next");
        w.press("Button_next_2");
        w.type(qPrintable(field), typed);
        QCOMPARE(child<QLineEdit>(w.screen, field)->text(), shown);
        My_lineEdit other;   // another screen's field of the same name is not ours
        other.setObjectName(field);
        g_lineedit = &other;
        w.screen->confirmString(QStringLiteral("9"));
        QCOMPARE(child<QLineEdit>(w.screen, field)->text(), shown);
        g_lineedit = nullptr;
    }

    void recordsWithoutPlaceSendNothing()
    {
        Wizard w;
        w.open();
        w.press("Button_next");   // LED1
        w.press("Button_next_2");
        // rows set from outside the keypad; a pattern out of range in the record
        for (const char *rows : {"0", "x", "2"}) {
            child<QLineEdit>(w.screen, "lineEdit_line")->setText(rows);
            if (QLatin1String(rows) == QLatin1String("2")) {
                std::lock_guard<std::mutex> lock(g_line_type_mutex);
                line_type.routing = 17;
            }
            w.press("Button_send");
            w.runJob();
            QCOMPARE(w.card(0, 0).frames, 0u);
        }
    }

    void refusalsWhileAJobOrUpgradeRunsOrWithoutManager()
    {
        {
            Wizard w;
            w.root.write("/data/smartmapping/a.qlfile", "scan");
            w.open();
            w.press("Button_paraweld");
            w.press("Button_confirm");   // the silent cards of LED3 keep it running
            QRoundProgressBar *ring = g_qround_bar;
            w.m->pass();
            for (const char *b : {"Button_confirm", "Button_shortcut", "Button_loadscan", "Button_mapping",
                                  "Button_mapping_state", "Button_back"}) {
                w.press(b);
                QCOMPARE(w.page(), 6);
                QCOMPARE(g_qround_bar, ring);
                QCOMPARE(int(g_send_para.job()), int(JOB_SAVE_PARA));
            }
            QVERIFY(g_smartmapping);
            w.runJob();
            w.press("Button_back");
            QVERIFY(!w.screen);
        }
        {
            // an upgrade or another screen's job: no post, no ring
            Wizard w;
            w.open();
            w.press("Button_paraweld");
            g_usb_grade = 1;
            w.press("Button_confirm");
            QVERIFY(!g_qround_bar);
            QCOMPARE(int(g_send_para.word.load()), 0);
            g_usb_grade = 0;
            g_send_para.post(JOB_CHECK_CARDS);
            w.press("Button_confirm");
            QVERIFY(!g_qround_bar);
            QCOMPARE(int(g_send_para.job()), int(JOB_CHECK_CARDS));
        }
        // no FPGA manager: the mapping page reads off, the switch and Load are refused
        Wizard w(false);
        w.root.write("/mnt/usb1/a.qlfile", "scan");
        w.open();
        w.press("Button_mapping");
        QCOMPARE(res(w.screen, "Button_mapping_state"), QStringLiteral(":/png/button_off.png"));
        w.press("Button_mapping_state");
        w.listFiles();
        QCOMPARE(chosenFile(), QStringLiteral("/mnt/usb1/a.qlfile"));
        w.press("Button_load");
        QVERIFY(!g_qround_bar);
        QCOMPARE(int(g_send_para.word.load()) + int(g_send_para.arg.load()), 0);
    }

    void scanFileListPagesDeviceThenStick_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("stick");
        QTest::newRow("five") << 2 << 3;
        QTest::newRow("six") << 2 << 4;
        QTest::newRow("101") << 60 << 41;
    }
    void scanFileListPagesDeviceThenStick()
    {
        QFETCH(int, device);
        QFETCH(int, stick);
        Wizard w;
        auto name = [](char where, int i) { return QStringLiteral("%1%2.qlfile").arg(where).arg(i, 3, 10, QLatin1Char('0')); };
        for (int i = 0; i < device; ++i)
            w.root.write("/data/smartmapping/" + name('d', i), "d");
        for (int i = 0; i < stick; ++i)
            w.root.write("/mnt/usb1/" + name('s', i), "s");
        w.root.write("/mnt/usb1/other.QLFILE", "s");   // not a scan file
        w.open();
        w.listFiles();
        const int total = qMin(device + stick, 100);
        const int pages = (total + 4) / 5;
        const QString white = QStringLiteral("background-color: rgb(33, 36, 53);color: #FFFFFF");
        const QString green = QStringLiteral("background-color: rgb(33, 36, 53);color: #00FF00");
        QCOMPARE(w.rows(), 5);
        QCOMPARE(labelText(w.screen, "row_label_0"), name('d', 0));
        QCOMPARE(w.rowStyle(0), QStringLiteral("background-color:#4777FF;color: #FFFFFF"));
        QCOMPARE(chosenFile(), "/data/smartmapping/" + name('d', 0));
        if (device == 2)
            QCOMPARE(w.rowStyle(1) + w.rowStyle(2), white + green);
        for (int p = 1; p < pages; ++p) {
            w.press("next_button_0");
            QVERIFY(child(w.screen, "previous_button_0"));
            QVERIFY(chosenFile().isEmpty());
        }
        QVERIFY(!child(w.screen, "next_button_0"));
        QCOMPARE(w.rows(), total - 5 * (pages - 1));
        const int last = w.rows() - 1;
        QCOMPARE(w.rowStyle(last), total - 1 < device ? white : green);
        QCOMPARE(labelText(w.screen, QStringLiteral("row_label_%1").arg(last)),
                 total - 1 < device ? name('d', total - 1) : name('s', total - 1 - device));
        if (pages > 1) {
            w.press("Button_load");   // nothing chosen on this page
            QVERIFY(!g_qround_bar);
        }
    }

    void loadConfirmAndMappingWorkOnTheCards()
    {
        Wizard w;
        QByteArray scan;
        for (int i = 0; i < 700; ++i)
            scan.append(char(i * 3));
        w.root.write("/data/smartmapping/a.qlfile", "device file");
        w.root.write("/mnt/usb1/<b>bold&amp;.qlfile", scan);
        w.open();
        w.listFiles(0);   // LED1
        QCOMPARE(labelText(w.screen, "row_label_1"), QStringLiteral("<b>bold&amp;.qlfile"));
        QCOMPARE(child<QLabel>(w.screen, "row_label_1")->textFormat(), Qt::PlainText);
        w.row(1);
        QCOMPARE(chosenFile(), QStringLiteral("/mnt/usb1/<b>bold&amp;.qlfile"));
        QCOMPARE(w.rowStyle(0) + w.rowStyle(1), QStringLiteral("background-color: rgb(33, 36, 53);color: #FFFFFF"
                                                               "background-color:#4777FF;color: #00FF00;"));
        w.press("Button_load");
        w.runJob();
        for (int c = 0; c < 3; ++c)
            QCOMPARE(w.card(0, c).scan, scan);
        QCOMPARE(w.card(13, 0).scan_loads, 0u);

        w.press("Button_paraweld");
        w.press("Button_confirm");
        w.runJob();
        for (int port : {0, 2, 13})
            QCOMPARE(w.card(port, 1).saves, 1u);

        // bit 7 in one FPGA only: both on and 9 to the cards; then both off and 0
        w.m->fpga(0)->set_register(0, 0x81);
        w.press("Button_mapping");
        QCOMPARE(res(w.screen, "Button_mapping_state"), QStringLiteral(":/png/button_off.png"));
        for (const bool on : {true, false}) {
            w.press("Button_mapping_state");
            QCOMPARE(res(w.screen, "Button_mapping_state"),
                     on ? QStringLiteral(":/png/button_on.png") : QStringLiteral(":/png/button_off.png"));
            QCOMPARE(int(w.m->fpga(0)->peek_register(0)), on ? 0x81 : 0x01);
            QCOMPARE(int(w.m->fpga(1)->peek_register(0)) & 0x80, on ? 0x80 : 0);
            w.runJob();
            for (int port : {0, 13})
                QCOMPARE(int(w.card(port, 0).regs[rcv_card::REG_MAPPING]), on ? 9 : 0);
        }
    }

    void refreshCodesFollowTheStick()
    {
        Wizard w;
        w.root.write("/mnt/usb1/other.QLFILE", "s");   // not a scan file
        w.open();
        QCOMPARE(w.style("Button_loadscan"), QStringLiteral("background-color: gray;border:2px;color: #FFFFFF"));
        w.press("Button_loadscan");   // refused
        QCOMPARE(w.page(), 0);
        w.root.write("/mnt/usb1/s.qlfile", "s");
        ScreenRegistry::refresh(PAGE_SMART_MAPPING, REFRESH_USB_IN);
        QCOMPARE(w.page(), 0);
        ScreenRegistry::refresh(PAGE_SMART_MAPPING, REFRESH_USB_READY);
        QCOMPARE(w.page(), 5);
        QCOMPARE(labelText(w.screen, "row_label_0"), QStringLiteral("s.qlfile"));
        QVERIFY(!child(w.screen, "next_button_0"));
        w.press("Button_load");   // still counted empty until reopened
        QVERIFY(!g_qround_bar);
        QCOMPARE(w.style("Button_shortcut"), kSelected);
        QVERIFY(QDir(w.root.file("/mnt/usb1")).removeRecursively());
        ScreenRegistry::refresh(PAGE_SMART_MAPPING, REFRESH_USB_OUT);
        QCOMPARE(labelText(w.screen, "empty_label_0"), QStringLiteral("No loaded file!"));
        QCOMPARE(w.rows(), 0);
        QVERIFY(!child(w.screen, "next_button_0") && !child(w.screen, "previous_button_0"));
        w.press("Button_shortcut");
        ScreenRegistry::refresh(PAGE_SMART_MAPPING, REFRESH_USB_OUT);
        QCOMPARE(w.page(), 0);

        w.root.write("/mnt/usb1/s.qlfile", "s");
        ScreenRegistry::back(PAGE_SMART_MAPPING);
        w.open();
        QCOMPARE(w.style("Button_loadscan"), QStringLiteral("background-color:#10101C;color: #FFFFFF"));
        w.listFiles();
        w.press("Button_load");
        w.runJob();
    }

    void fiveLanguages()
    {
        Wizard w;
        w.open();
        w.press("Button_next");
        struct Texts {
            const char *title, *next, *previous, *group, *tile, *keypad;
        };
        const Texts texts[5] = {
            {"智能调屏", "下一步", "上一步", "网口9~16", "网口LED1", "箱体行数"},
            {"Smart debugging screen", "Next", "Previous", "LED9~16", "LED1", "rows"},
            {"Умная настройка экрана", "Далее", "Назад", "LED9~16", "LED1", "rows"},
            {"Điều chỉnh màn hình thông minh", "Bước tiếp theo", "Thao tác\nphía trước", "LED9~16", "LED1", "rows"},
            {"智能調屏", "下一步", "上一步", "網口9~16", "網口LED1", "箱體行數"},
        };
        for (int lang = 0; lang < 5; ++lang) {
            const Texts &t = texts[lang];
            w.para->ram_para[Img::LANGUAGE] = u8(lang);
            ScreenRegistry::refresh(PAGE_SMART_MAPPING, REFRESH_SAVE);
            w.settle();
            QCOMPARE(QStringList({labelText(w.screen, "label_title"), w.text("Button_next_2"), w.text("Button_front_2"),
                                  w.text("Button_wlan2"), labelText(w.screen, "tile_label_0")}),
                     QStringList({QString::fromUtf8(t.title), QString::fromUtf8(t.next), QString::fromUtf8(t.previous),
                                  QString::fromUtf8(t.group), QString::fromUtf8(t.tile)}));
            w.press("Button_next_2");
            onModal([&t](QWidget *pad) {
                QCOMPARE(labelText(pad, "label_title"), QString::fromUtf8(t.keypad));
                QTest::mouseClick(child<QPushButton>(pad, "Button_close"), Qt::LeftButton);
            });
            QTest::mouseClick(child<QLineEdit>(w.screen, "lineEdit_line"), Qt::LeftButton);
            w.press("Button_front_3");
        }
    }
};

QTEST_MAIN(TestSmartMapping)
#include "test_smartmapping.moc"
