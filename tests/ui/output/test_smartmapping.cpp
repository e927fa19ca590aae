#include <QDir>
#include <QPointer>
#include <QStackedWidget>

#include "core/global.h"
#include "core/param_layout.h"
#include "core/refresh_codes.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/support/widget_helpers.h"
#include "ui/output/smartmapping.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screen_registry.h"

namespace {

// The wizard on a simulated wall, opened as the settings menu opens it.
// LED1: three cards; LED3: two that never answer; LED14 (FPGA 1 port 1,
// second group, tile 5): four, the first answering late, the third never.
struct Wizard : ScreenEnv
{
    QPointer<SmartMapping> screen;
    fpga_manage *m = nullptr;

    explicit Wizard(bool opened = true)
    {
        root.writeSim(R"({"fpgas":[{"state":3,"version":[1,6,11,26]},{"state":3,"version":[1,6,11,26]}],
                          "cards":{"1":3,"3":2,"14":4},"card_reply":{"3":"never"}})");
        m = fpga_manage::pInstance();
        m->fpga(1)->set_card_reply(1, 0, RcvReply::Late);
        m->fpga(1)->set_card_reply(1, 2, RcvReply::Never);
        if (opened)
            open();
    }
    // (the next manager may reuse the address the relay holds)
    ~Wizard() { delete screen.data(); fpga_manage::destroyInstance(); JobRelay::instance()->attach(nullptr, 0); }
    void open()
    {
        register_screens();
        screen = static_cast<SmartMapping *>(ScreenRegistry::find(PAGE_SMART_MAPPING)->create());
        QCOMPARE(int(g_page_focus), int(PAGE_SMART_MAPPING));
        screen->show();
    }
    rcv_card card(int port, int c) const { return m->fpga(port / 12)->card(port % 12, c); }
    int page() const { return child<QStackedWidget>(screen, "stackedWidget")->currentIndex(); }
    // Presses named buttons in turn ("Button_next Button_next_2"), inside the
    // named run-time container when given (port tiles and list rows are named
    // by their number).
    void press(const QString &names, const char *in = nullptr)
    {
        for (const QString &name : names.split(' ')) {
            QAbstractButton *b = child<QAbstractButton>(in ? child(screen, in) : screen.data(), name);
            QVERIFY2(b, qPrintable(name));
            QTest::mouseClick(b, Qt::LeftButton);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    void type(const QString &field, const QString &text) { enterInField(child<My_lineEdit>(screen, field), text); }
    QString chosenFile() const { std::lock_guard<std::mutex> lock(g_line_type_mutex); return g_qlfile_name; }
    // Steps the manager until the ring closes (how the ring rises is DeviceRequests' own test).
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
    }
    // Opens the load-scan list of LED1.
    void listFiles()
    {
        press("Button_loadscan");
        press("0", "tiles_frame");
        press("Button_next_5");
        QCOMPARE(page(), 5);
    }
    // The port tiles shown marked as refused, by their number.
    QString marked() const
    {
        QStringList tiles;
        for (int t = 0; t < 8; ++t)
            if (QWidget *tile = child(child(screen, "tiles_frame"), QStringLiteral("tile_frame_%1").arg(t)))
                if (tile->styleSheet().contains("229, 72, 77"))
                    tiles << QString::number(t);
        return tiles.join(',');
    }
    int rows() const { return screen->findChildren<QLabel *>(QRegularExpression("^row_label_")).size(); }
    QString row(int k) const { return labelText(screen, QStringLiteral("row_label_%1").arg(k)); }
    // Scan files d000.. in the device folder, then s000.. on the stick: device
    // path of the i-th listed.
    static QString scanFile(int device, int i)
    {
        return i < device ? QStringLiteral("/data/smartmapping/d%1.qlfile").arg(i, 3, 10, QLatin1Char('0'))
                          : QStringLiteral("/mnt/usb1/s%1.qlfile").arg(i - device, 3, 10, QLatin1Char('0'));
    }
    // The wizard opened with the device's files, the stick plugged in after
    // (with a file that is not a scan file), its list on the first page: with
    // no device file, shown when the stick is ready.
    void showScanFiles(int device, int stick)
    {
        for (int i = 0; i < device; ++i)
            root.write(scanFile(device, i), "d");
        root.write("/mnt/usb1/other.QLFILE", "s");
        open();
        for (int i = device; i < device + stick; ++i)
            root.write(scanFile(device, i), "s");
        if (device)
            return listFiles();
        press("Button_loadscan");   // nothing to load when opened
        ScreenRegistry::refresh(PAGE_SMART_MAPPING, REFRESH_USB_IN);
        QCOMPARE(page(), 0);
        ScreenRegistry::refresh(PAGE_SMART_MAPPING, REFRESH_USB_READY);
        QCOMPARE(page(), 5);
    }
};

}

class TestSmartMapping : public QObject
{
    Q_OBJECT

private slots:
    // what a test before left behind
    void init()
    {
        g_language = 1;
        g_send_para.clear();
        g_usb_grade = 0;
    }

    void keypadTakesWholeNumbersInRange_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");   // a refused entry keeps the value before it
        const char *rows[][3] = {{"lineEdit_line", "0", "1"},     {"lineEdit_line", "256", "1"},
                                 {"lineEdit_line", "", "1"},      {"lineEdit_line", "2x", "1"},
                                 {"lineEdit_line", "255", "255"}, {"lineEdit_column", "007", "7"},
                                 {"lineEdit_X", "65536", "128"},  {"lineEdit_X", "65535", "65535"},
                                 {"lineEdit_vert", "-1", "0"}};
        for (const auto &r : rows)
            QTest::addRow("%s '%s'", r[0], r[1]) << r[0] << r[1] << r[2];
    }
    // An entry typed for another screen's field of the same name changes neither.
    void keypadTakesWholeNumbersInRange()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Wizard w;
        w.press("Button_next Button_next_2");
        w.type(field, typed);
        QCOMPARE(child<QLineEdit>(w.screen, field)->text(), shown);
        My_lineEdit other;
        other.setObjectName(field);
        g_lineedit = &other;
        emit g_numberkeyboard->sendKeyBoardUIDataToLineEdit("9");
        QVERIFY(child<QLineEdit>(w.screen, field)->text() == shown && other.text().isEmpty());
    }

    // What the operator changes once the manager took the record reaches only the next job.
    void sendPlacesTheCardsAsTheJobTookThem()
    {
        Wizard w;
        w.press("Button_next Button_next_2");
        for (const auto &[field, typed] : {std::pair{"lineEdit_line", "2"}, {"lineEdit_column", "2"}, {"lineEdit_X", "128"}})
            w.type(field, typed);
        w.press("Button_send");
        w.m->pass();
        w.press("Button_route Button_route4 Button_front_3");
        w.press("1", "tiles_frame");
        w.runJob();
        QStringList placed;   // 128 x 96 on LED1, pattern 1
        for (int c = 0; c < 3; ++c)
            placed << QStringLiteral("%1,%2").arg(w.card(0, c).position_x()).arg(w.card(0, c).position_y());
        QCOMPARE(placed.join(' '), QStringLiteral("128,96 0,96 0,0"));
    }

    // The numbers in the texts of the panel language.
    void textsFollowThePanelLanguage()
    {
        Wizard w;
        w.para->ram_para[Img::LANGUAGE] = 0;
        ScreenRegistry::refresh(PAGE_SMART_MAPPING, REFRESH_SAVE);
        w.press("Button_next Button_next_2");
        auto text = [&w](const char *name) { return child<QAbstractButton>(w.screen, name)->text(); };
        QCOMPARE(QStringList({labelText(w.screen, "label_title"), text("Button_wlan2"), labelText(w.screen, "tile_label_7"),
                              text("Button_route")}).join('|'),
                 QStringLiteral("智能调屏|网口9~16|网口LED8|走线1"));
    }

    void sendRefusesAPortWithoutCards_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("tile");
        QTest::addColumn<bool>("answers");   // the port's FPGA
        QTest::newRow("LED2, no cards") << "Button_wlan1" << 1 << true;
        QTest::newRow("LED14, its FPGA silent") << "Button_wlan2" << 5 << false;
    }
    // Nothing is posted; the port page shows again with that port marked
    // until another port is chosen.
    void sendRefusesAPortWithoutCards()
    {
        QFETCH(QString, group);
        QFETCH(int, tile);
        QFETCH(bool, answers);
        Wizard w;
        w.press("Button_next " + group);
        w.press(QString::number(tile), "tiles_frame");
        w.press("Button_wlan3 Button_next_2");   // another group shown when Next is pressed
        w.m->fpga(1)->set_bus_fault(!answers);
        w.m->pass();
        w.press("Button_send");
        QVERIFY(!g_qround_bar && g_send_para.word == 0);
        const QString label = labelText(w.screen, QStringLiteral("tile_label_%1").arg(tile));
        QCOMPARE(QStringLiteral("page %1, marked %2, %3").arg(w.page()).arg(w.marked(), label),
                 QStringLiteral("page 1, marked %1, %2").arg(tile).arg(answers ? "LED2" : "LED14"));
        w.press("Button_wlan1");
        w.press("0", "tiles_frame");   // LED1, three cards
        QCOMPARE(w.marked(), QString());
        w.press("Button_next_2 Button_send");
        w.runJob();
        QCOMPARE(int(w.card(0, 0).ram_writes), 1);
    }

    void scanFileListPagesDeviceThenStick_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("stick");
        QTest::newRow("five") << 2 << 3;   // one page, and one past it
        QTest::newRow("six, stick only, plugged in later") << 0 << 6;
        QTest::newRow("101") << 60 << 41;
    }
    // Device files first, then the stick's, five a page; the first file
    // chosen on the first page only. A stick's files also count for Load scan.
    void scanFileListPagesDeviceThenStick()
    {
        QFETCH(int, device);
        QFETCH(int, stick);
        Wizard w(false);
        w.showScanFiles(device, stick);
        const int total = qMin(device + stick, 100), pages = (total + 4) / 5;
        auto name = [device](int i) { return QFileInfo(Wizard::scanFile(device, i)).fileName(); };
        QCOMPARE(QStringList({QString::number(w.rows()), w.chosenFile(), w.row(0), w.row(4)}),
                 QStringList({"5", Wizard::scanFile(device, 0), name(0), name(4)}));
        for (int p = 1; p < pages; ++p) {
            QPointer<QWidget> pressed = child(w.screen, "next_button_0");
            QTest::mouseClick(pressed, Qt::LeftButton);
            QVERIFY(pressed);   // not deleted within its own click
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(w.chosenFile().isEmpty());
        }
        QVERIFY(!child(w.screen, "next_button_0") && bool(child(w.screen, "previous_button_0")) == (pages > 1));
        if (pages > 1) {
            w.press("previous_button_0 next_button_0 Button_load");   // nothing chosen on this page
            QVERIFY(!g_qround_bar);
        }
        const int last = total - 5 * (pages - 1) - 1;
        QCOMPARE(QString::number(w.rows()) + ' ' + w.row(last),
                 QStringLiteral("%1 %2").arg(last + 1).arg(name(total - 1)));
        w.press(QString::number(last), "frame_file");
        QCOMPARE(w.chosenFile(), Wizard::scanFile(device, total - 1));
        if (!device)
            w.listFiles();   // Load scan counts the stick's files now
    }

    void pullingTheStickKeepsTheDeviceFiles_data() { scanFileListPagesDeviceThenStick_data(); }
    // The device's files remain, or none and no page buttons.
    void pullingTheStickKeepsTheDeviceFiles()
    {
        QFETCH(int, device);
        QFETCH(int, stick);
        Wizard w(false);
        w.showScanFiles(device, stick);
        QVERIFY(QDir(w.root.file("/mnt/usb1")).removeRecursively());
        ScreenRegistry::refresh(PAGE_SMART_MAPPING, REFRESH_USB_OUT);
        QCOMPARE(w.rows(), qMin(device, 5));
        QCOMPARE(labelText(w.screen, "empty_label_0"), device ? "<none>" : "No loaded file!");
        QVERIFY(bool(child(w.screen, "next_button_0")) == (device > 5) && !child(w.screen, "previous_button_0"));
    }

    // Any file listed loads into the cards of the chosen port; a stick's
    // file name shows as plain text.
    void loadPutsTheChosenFileIntoThePortsCards()
    {
        Wizard w;   // no scan file anywhere yet
        QByteArray scan;
        for (int i = 0; i < 700; ++i)
            scan.append(char(i * 3));
        w.root.write("/data/smartmapping/a.qlfile", "device file");
        w.root.write("/mnt/usb1/<b>bold&amp;.qlfile", scan);
        ScreenRegistry::refresh(PAGE_SMART_MAPPING, REFRESH_USB_READY);   // the stick comes: the list shows
        QVERIFY(w.row(1) == "<b>bold&amp;.qlfile"
                && child<QLabel>(w.screen, "row_label_1")->textFormat() == Qt::PlainText);
        w.press("1", "frame_file");
        QCOMPARE(w.chosenFile(), QStringLiteral("/mnt/usb1/<b>bold&amp;.qlfile"));
        w.press("Button_load");
        w.runJob();   // what each card holds after a load is the manager's own test
        QVERIFY(w.card(0, 2).scan == scan && w.card(13, 0).scan_loads == 0u);
    }

    void jobsAreRefusedWhenTheyCannotRun_data()
    {
        QTest::addColumn<QString>("why");
        for (const char *why : {"no FPGA manager", "other job runs", "upgrade runs"})
            QTest::newRow(why) << why;
    }
    // No post, no ring, the mapping reads off.
    void jobsAreRefusedWhenTheyCannotRun()
    {
        QFETCH(QString, why);
        Wizard w(false);
        w.root.write("/data/smartmapping/a.qlfile", "device file");
        w.open();
        w.listFiles();
        QVERIFY(!w.chosenFile().isEmpty());
        if (why == "no FPGA manager")
            fpga_manage::destroyInstance();
        g_usb_grade = why == "upgrade runs";
        if (why == "other job runs")
            g_send_para.post(JOB_CHECK_CARDS);
        const u16 word = g_send_para.word;
        for (const char *b : {"Button_paraweld", "Button_confirm", "Button_mapping", "Button_mapping_state", "Button_load"}) {
            w.press(b);
            QVERIFY2(!g_qround_bar && g_send_para.word == word && g_send_para.arg == 0, qPrintable(why + b));
        }
        QCOMPARE(res(w.screen, "Button_mapping_state"), QStringLiteral(":/png/button_off.png"));
    }

    // While its ring shows, the menu, the other jobs and Back are refused;
    // once it closes, Back returns to the settings menu.
    void theRingHoldsTheScreen()
    {
        Wizard w;
        w.press("Button_paraweld Button_confirm");   // the silent cards keep it running
        w.m->pass();
        QRoundProgressBar *ring = g_qround_bar;
        for (const char *b : {"Button_confirm", "Button_shortcut", "Button_loadscan", "Button_mapping",
                              "Button_mapping_state", "Button_back"}) {
            w.press(b);
            QVERIFY2(w.screen && w.page() == 6 && g_qround_bar == ring && g_send_para.job() == JOB_SAVE_PARA, b);
        }
        w.runJob();
        w.press("Button_back");
        QVERIFY(!w.screen && !g_smartmapping && g_page_focus == PAGE_SETTINGS);
    }

    // Bit 7 in one FPGA only reads off: both on and 9 to the cards; then both off and 0.
    void mappingSwitchSetsBothFpgasAndTheCards()
    {
        Wizard w;
        w.m->fpga(0)->set_register(0, 0x81);
        w.press("Button_mapping");
        QVERIFY(res(w.screen, "Button_mapping_state").endsWith("_off.png"));
        for (const bool on : {true, false}) {
            w.press("Button_mapping_state");
            QCOMPARE(res(w.screen, "Button_mapping_state").endsWith("_on.png"), on);
            QCOMPARE(int(w.m->fpga(0)->peek_register(0)), on ? 0x81 : 0x01);
            QCOMPARE(int(w.m->fpga(1)->peek_register(0)) & 0x80, on ? 0x80 : 0);
            w.runJob();
            for (int port : {0, 13})
                QCOMPARE(int(w.card(port, 0).regs[rcv_card::REG_MAPPING]), on ? 9 : 0);
        }
    }
};

QTEST_MAIN(TestSmartMapping)
#include "test_smartmapping.moc"
