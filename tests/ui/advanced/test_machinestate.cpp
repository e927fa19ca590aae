#include <QFrame>
#include <QPainter>

#include "core/param_view.h"
#include "core/refresh_codes.h"
#include "core/sim_config.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/ui/shell/shell_fixture.h"
#include "ui/advanced/machinestate.h"
#include "ui/shell/screen_helpers.h"

namespace {

// The status page in the shell.
struct Status : Shell
{
    MachineState *screen = nullptr;

    ~Status() { delete screen; fpga_manage::destroyInstance(); }
    void open() { delete screen; screen = g_machinestate = new MachineState; screen->show(); }
    u8 *image() const { return QelRamPara::p_qelrampara_config->ram_para; }
    void signal(int slot, u16 w, u16 h, u8 rate) { InputTiming<u8>(image(), slot).set(w, h, rate); }
    QString text(const char *label) const { return labelText(screen, label); }
    // The online ports as drawn, then one letter per input EXT..HDMI4: L lit, g grey.
    QString shown() const
    {
        const QImage row = child<QFrame>(screen, "ports_frame")->grab().toImage();
        QImage online = row.copy(0, 0, 32, 28);   // the row's background
        QPainter(&online).drawPixmap(0, 0, cached_picture(QStringLiteral(":/png/online.png"), online.size()));
        QStringList up;
        for (int i = 0; i < 24; ++i)
            if (row.copy(28 * (i - i % 2) + 24, i % 2 ? 70 : 32, 32, 28) == online)
                up << QString::number(i + 1);
        QString shown = up.join(',') + ' ';
        for (const char *n : {"label_EXT", "label_DVI", "label_HDMI1", "label_HDMI2", "label_HDMI3", "label_HDMI4"})
            shown += res(screen, n).contains(QLatin1String("lv")) ? 'L' : 'g';
        return shown;
    }
};

}

class TestMachineState : public QObject
{
    Q_OBJECT

private slots:
    void whatThePageShows()
    {
        Status s;
        s.signal(0, 720, 576, 50);
        s.open();   // no FPGA manager: empty versions, no ports, no port redraw
        const QFrame *ports = child<QFrame>(s.screen, "ports_frame");
        s.screen->syncUpdate(REFRESH_PORT_LINKS);
        QCOMPARE(child<QFrame>(s.screen, "ports_frame"), ports);
        QCOMPARE(s.text("label_FPGA1") + s.text("label_FPGA2") + s.shown(), QStringLiteral("FPGA1:FPGA2: Lggggg"));
        // versions and links as the manager's mirror holds them
        s.root.writeSim(R"({"fpgas":[{"state":3,"version":[10,31,12,2099]},{"state":3,"version":[1,6,11,2026]}],
                            "cards":{"1":1,"13":1,"24":1}})");
        fpga_manage *f = fpga_manage::pInstance();
        f->pass();
        f->fpga(1)->set_version(2, 1, 1, 2030);   // not read back yet
        g_str_barcode = QStringLiteral("<b>QL1</b>");
        s.open();
        QCOMPARE(s.text("label_FPGA1") + s.text("label_FPGA2") + s.text("label_2") + s.shown(),
                 QStringLiteral("FPGA1:V11.00.10 2099-12-31FPGA2:V11.00.01 2026-11-06SN:<b>QL1</b>1,13,24 Lggggg"));
        QCOMPARE(child<QLabel>(s.screen, "label_2")->textFormat(), Qt::PlainText);   // the bar code as plain text
        // refresh code 12 redraws the inputs only, code 11 the ports and inputs
        s.signal(5, 3840, 2160, 30);
        f->fpga(0)->set_link(1, true);
        f->pass();
        s.screen->syncUpdate(REFRESH_INPUTS);
        QCOMPARE(s.shown(), QStringLiteral("1,13,24 LggggL"));
        s.signal(0, 0, 0, 0);
        // FPGA 0 stops answering its bus: once the watcher finds its links
        // gone they stay gone, until it answers a read again
        QStringList seen;
        for (bool fault : {true, false}) {
            f->fpga(0)->set_bus_fault(fault);
            s.screen->syncUpdate(REFRESH_PORT_LINKS);   // the page reads no FPGA itself
            seen << s.shown();
            f->pass();
            s.screen->syncUpdate(REFRESH_PORT_LINKS);
            seen << s.shown();
        }
        QCOMPARE(seen, QStringList({"1,2,13,24 gggggL", "13,24 gggggL", "13,24 gggggL", "1,2,13,24 gggggL"}));
        SimConfig sim = SimConfig::load();   // sim.json's state -1 is such an FPGA
        sim.fpgas[0].state = -1;
        f->fpga(0)->configure(sim.fpgas[0], sim.cards, sim.cardReply);
        u8 state;
        QVERIFY(!f->fpga(0)->read_register(fpga_drv::REG_STATE, &state));
        s.image()[Img::LANGUAGE] = 2;   // a language changed from outside: title and pictures
        s.screen->syncUpdate(REFRESH_SAVE);
        QCOMPARE(s.text("label_title") + ' ' + res(s.screen, "label_state3"), QStringLiteral("Устройство :/png/ru_version_state.png"));
    }
};

QTEST_MAIN(TestMachineState)
#include "test_machinestate.moc"
