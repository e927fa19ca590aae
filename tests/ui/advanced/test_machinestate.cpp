#include <QFrame>
#include <memory>

#include "core/global.h"
#include "core/param_view.h"
#include "core/refresh_codes.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/support/widget_helpers.h"
#include "ui/advanced/machinestate.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/screen_registry.h"

namespace {

// The status page over a wall whose FPGAs run.
struct Status : ScreenEnv
{
    MachineState *screen = nullptr;
    fpga_manage *f = nullptr;

    ~Status()
    {
        delete screen;
        fpga_manage::destroyInstance();
    }
    void wall(std::initializer_list<int> ports_up)
    {
        f = fpga_manage::pInstance();
        for (int i = 0; i < 2; ++i)
            f->fpga(i)->set_state(fpga_drv::STATE_RUNNING);
        for (int p : ports_up)
            f->fpga((p - 1) / 12)->set_link((p - 1) % 12, true);
        f->pass();   // the port watcher fills the mirror
    }
    void open()
    {
        screen = new MachineState;
        g_machinestate = screen;
        g_page_focus = PAGE_STATUS;
        screen->show();
    }
    void signal(int slot, u16 w, u16 h, u8 rate) { InputTiming<u8>(para->ram_para, slot).set(w, h, rate); }
    // Online ports, by number.
    QList<int> ports() const
    {
        QList<int> up;
        for (int p = 1; p <= 24; ++p)
            if (res(screen, QStringLiteral("port_state_%1").arg(p)) == QLatin1String(":/png/online.png"))
                up << p;
        return up;
    }
    // One letter per input EXT..HDMI4: L lit, g grey.
    QString inputs() const
    {
        QString s;
        for (const char *n : {"label_EXT", "label_DVI", "label_HDMI1", "label_HDMI2", "label_HDMI3", "label_HDMI4"})
            s += res(screen, n).contains(QLatin1String("lv")) ? 'L' : 'g';
        return s;
    }
};

}

class TestMachineState : public QObject
{
    Q_OBJECT

private slots:
    void serialAndVersions_data()
    {
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QList<int>>("regs");   // 28..31 of FPGA 0
        QTest::addColumn<QString>("version");
        QTest::newRow("nothing stored") << " " << "SN:QL99999999999999999999" << QList<int>{0x03, 0x17, 0x05, 0x24}
                                        << "FPGA1:V11.00.03 2024-05-17";
        QTest::newRow("empty") << "" << "SN:" << QList<int>{0x10, 0x31, 0x12, 0x99} << "FPGA1:V11.00.10 2099-12-31";
        QTest::newRow("markup") << "<b>QL1</b>" << "SN:<b>QL1</b>" << QList<int>{0xFF, 0x0B, 0x0A, 0xA5}
                                << "FPGA1:V11.00.ff 20a5-0a-0b";
    }
    void serialAndVersions()
    {
        QFETCH(QString, barcode);
        QFETCH(QList<int>, regs);
        Status s;
        s.wall({});
        for (int i = 0; i < 4; ++i) {
            s.f->fpga(0)->set_register(u8(28 + i), u8(regs[i]));
            s.f->read_from_register(u8(28 + i), 0);
        }
        // the page reads the mirror: of FPGA 1 only register 28 was read back
        s.f->fpga(1)->set_version(1, 6, 11, 2026);
        s.f->read_from_register(28, 1);
        g_str_barcode = barcode;
        s.open();
        QTEST(labelText(s.screen, "label_2"), "serial");
        QCOMPARE(child<QLabel>(s.screen, "label_2")->textFormat(), Qt::PlainText);
        QTEST(labelText(s.screen, "label_FPGA1"), "version");
        QCOMPARE(labelText(s.screen, "label_FPGA2"), QStringLiteral("FPGA2:V11.00.01 2000-00-00"));
        QCOMPARE(labelText(s.screen, "label_MCU"), QStringLiteral("MCU:V11.00.00 2026-09-28"));
    }

    void refreshRedrawsInputsAlwaysAndPortsOnTheirCode()
    {
        Status s;
        s.wall({1, 13, 24});
        s.signal(2, 1920, 1080, 60);
        s.signal(1, 1920, 1080, 0);   // no rate: no signal
        s.open();
        QCOMPARE(s.ports(), QList<int>({1, 13, 24}));
        QCOMPARE(s.inputs(), QStringLiteral("ggLggg"));

        s.signal(5, 3840, 2160, 30);
        s.signal(2, 0, 0, 0);
        s.f->fpga(0)->set_link(1, true);
        s.f->fpga(1)->set_state(1);   // FPGA 1 stops
        s.f->pass();
        s.screen->syncUpdate(REFRESH_INPUTS);
        QCOMPARE(s.inputs(), QStringLiteral("gggggL"));
        QCOMPARE(s.ports(), QList<int>({1, 13, 24}));
        s.screen->syncUpdate(REFRESH_PORT_LINKS);
        QCOMPARE(s.ports(), QList<int>({1, 2}));

        // the page shows the manager's mirror and reads no FPGA: a bus that
        // no longer answers changes nothing here
        s.f->fpga(0)->set_bus_fault(true);
        s.screen->syncUpdate(REFRESH_PORT_LINKS);
        QCOMPARE(s.ports(), QList<int>({1, 2}));
        QCOMPARE(s.f->get_wlan_state(), 0u);
    }

    void withoutFpgaManager()
    {
        Status s;
        s.signal(0, 720, 576, 50);
        s.open();
        QCOMPARE(labelText(s.screen, "label_FPGA1"), QStringLiteral("FPGA1:"));
        QCOMPARE(labelText(s.screen, "label_FPGA2"), QStringLiteral("FPGA2:"));
        QCOMPARE(s.ports(), QList<int>());
        QCOMPARE(res(s.screen, "port_state_24"), QStringLiteral(":/png/offline.png"));
        QFrame *ports = child<QFrame>(s.screen, "ports_frame");
        s.screen->syncUpdate(REFRESH_PORT_LINKS);
        QCOMPARE(child<QFrame>(s.screen, "ports_frame"), ports);   // not redrawn
        QCOMPARE(s.inputs(), QStringLiteral("Lggggg"));
    }

    void languagesKeyLockAndBack()
    {
        Status s;
        NumberKeyboard *pad = g_numberkeyboard;
        std::unique_ptr<MainWindow> main(new MainWindow);
        g_numberkeyboard = pad;
        lcd_touch::pInstance()->set_key_lock(true);
        main->on_machinestate_clicked();
        QVERIFY(!g_machinestate);
        lcd_touch::p_lcd_touch->set_key_lock(false);

        register_screens();
        QPointer<MachineState> alive;
        onModal([&](QWidget *m) {
            alive = qobject_cast<MachineState *>(m);
            QVERIFY(alive && alive == g_machinestate);
            QCOMPARE(int(g_page_focus), int(PAGE_STATUS));
            struct Lang {
                const char *title, *version, *output, *input;
            };
            const Lang langs[5] = {
                {"设备信息", "version_state", "output_state", "input_state"},
                {"Devices", "en_version_state", "output_state", "input_state"},
                {"Устройство", "ru_version_state", "ru_output_state", "ru_input_state"},
                {"Thiết bị", "en_version_state", "output_state", "input_state"},
                {"設備信息", "version_state", "output_state", "input_state"},
            };
            for (int lang = 0; lang < 5; ++lang) {
                s.para->ram_para[Img::LANGUAGE] = u8(lang);
                alive->syncUpdate(REFRESH_SAVE);
                s.settle();
                QCOMPARE(labelText(m, "label_title"), QString::fromUtf8(langs[lang].title));
                QCOMPARE(res(m, "label_state3"), QStringLiteral(":/png/%1.png").arg(langs[lang].version));
                QCOMPARE(res(m, "label_state1"), QStringLiteral(":/png/%1.png").arg(langs[lang].output));
                QCOMPARE(res(m, "label_state2"), QStringLiteral(":/png/%1.png").arg(langs[lang].input));
            }
            click(m, "Button_back");
        });
        QVERIFY(ScreenRegistry::open(PAGE_STATUS));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!g_machinestate);
        QVERIFY(!alive);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
        ScreenRegistry::clear();
        lcd_touch::destroyInstance();
        main.reset();
        g_numberkeyboard = pad;
    }
};

QTEST_MAIN(TestMachineState)
#include "test_machinestate.moc"
