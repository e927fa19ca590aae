#include <QtTest>

#include "core/qelrampara.h"
#include "core/sim_watcher.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/support/testenv.h"
#include "video_io/tavixsource.h"

namespace {
// "w x h @ rate" of an input's timing record.
QString record(int slot)
{
    const InputSignal s = QelRamPara::p_qelrampara_config->input_signal(slot);
    return QStringLiteral("%1x%2@%3").arg(s.width).arg(s.height).arg(s.rate);
}

// A watcher over both simulated devices, as the program wires it.
void wire(SimWatcher &watcher)
{
    watcher.add_applier(&tavixsource::apply_sim);
    watcher.add_applier(&fpga_manage::apply_sim);
    watcher.start();
}
}

class TestSimWatcher : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        tavixsource::destroyInstance();
        fpga_manage::destroyInstance();
        QelRamPara::destroyInstance();
    }

    void changedDescriptionApplied()
    {
        TestRoot root;
        root.writeSim(R"({"fpgas": [{"state": 3}, {"state": 3}], "cards": {"1": 4}})");
        QelRamPara *ram = QelRamPara::pInstance();
        tavixsource *tv = tavixsource::pInstance();
        fpga_manage *fm = fpga_manage::pInstance();
        SimWatcher watcher;
        wire(watcher);
        QSignalSpy applied(&watcher, &SimWatcher::sig_applied);
        QSignalSpy codes(ram, &QelRamPara::sig_update_para);

        // replaced as an editor saves it: a new file renamed over the old
        QVERIFY(Utils::writeFileAtomic("/sim.json", R"({"inputs": [{"slot": 3, "width": 1280, "height": 720,
            "rate": 50}], "fpgas": [{"state": 3}, {"state": 3}], "cards": {"1": 2, "14": 5},
            "card_reply": {"14": "never"}})"));
        QVERIFY(applied.wait(3000));
        tv->pass();
        QCOMPARE(record(3) + QString::number(codes.count()), QStringLiteral("1280x720@501"));
        QVERIFY(fm->fpga(0)->card_count(0) == 2 && fm->fpga(1)->card_count(1) == 5);
        QCOMPARE(int(fm->fpga(1)->card(1, 4).reply), int(RcvReply::Never));

        // the watch holds after the replace: the input goes, an FPGA stops
        QVERIFY(Utils::writeFileAtomic("/sim.json", R"({"fpgas": [{"state": 3}, {"state": 0}], "cards": {"1": 2}})"));
        QVERIFY(applied.wait(3000));
        tv->pass();
        QCOMPARE(record(3) + QString::number(codes.count()), QStringLiteral("0x0@02"));
        QCOMPARE(fm->fpga(1)->card_count(1), 0);
        QCOMPARE(int(fm->fpga(1)->peek_register(fpga_drv::REG_STATE)), 0);

        // a half-written or missing file leaves the device as it is
        root.writeSim("{\"inputs\": [");
        QVERIFY(!applied.wait(300));
        QFile::remove(root.file("/sim.json"));
        QVERIFY(!applied.wait(300) && fm->fpga(0)->card_count(0) == 2);
        root.writeSim(R"({"fpgas": [{"state": 3}, {"state": 0}], "cards": {"1": 7}})");
        QVERIFY(applied.wait(3000));
        QCOMPARE(fm->fpga(0)->card_count(0), 7);
    }

    // What did not change keeps the state the device reached meanwhile.
    void onlyChangedPartsApplied()
    {
        TestRoot root;
        const QByteArray input = R"("inputs": [{"slot": 2, "width": 1920, "height": 1080, "rate": 60}])";
        root.writeSim("{" + input + R"(, "fpgas": [{"state": 3}, {"state": 3}], "cards": {"1": 4, "13": 2}})");
        QelRamPara::pInstance();
        tavixsource *tv = tavixsource::pInstance();
        fpga_manage *fm = fpga_manage::pInstance();
        SimWatcher watcher;
        wire(watcher);
        QSignalSpy applied(&watcher, &SimWatcher::sig_applied);
        fm->fpga(0)->set_register(fpga_drv::REG_STATE, 5);
        tv->sim().set_signal(4, 800, 600, 60);

        // fonts are the scaler's, read when it asks: nothing to apply
        root.writeSim("{" + input + R"(, "fpgas": [{"state": 3}, {"state": 3}], "cards": {"1": 4, "13": 2},
            "fonts": 3})");
        QVERIFY(!applied.wait(300));
        // only the second FPGA changed
        root.writeSim("{" + input + R"(, "fpgas": [{"state": 3}, {"state": 0}], "cards": {"1": 4}})");
        QVERIFY(applied.wait(3000));
        tv->pass();
        QCOMPARE(record(4) + record(2), QStringLiteral("800x600@601920x1080@60"));
        QCOMPARE(int(fm->fpga(0)->peek_register(fpga_drv::REG_STATE)), 5);
        QVERIFY(fm->fpga(1)->peek_register(fpga_drv::REG_STATE) == 0 && fm->fpga(1)->card_count(0) == 0);

        // {} is a device with nothing plugged
        root.writeSim("{}");
        QVERIFY(applied.wait(3000));
        tv->pass();
        QCOMPARE(record(4) + record(2), QStringLiteral("0x0@00x0@0"));
        QCOMPARE(int(fm->fpga(0)->peek_register(fpga_drv::REG_STATE)), 0);
        QVERIFY(fm->fpga(0)->card_count(0) == 0 && applied.count() == 2);
    }
};

QTEST_GUILESS_MAIN(TestSimWatcher)
#include "test_sim_watcher.moc"
