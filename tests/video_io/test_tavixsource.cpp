#include <QtTest>

#include <atomic>
#include <mutex>

#include "core/global.h"
#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"
#include "tests/video_io/edid_decode.h"
#include "video_io/it66121_sys.h"
#include "video_io/tavixsource.h"

namespace {

// Input timing record of a slot, read under the writers' lock.
QVector<int> timingRecord(int slot)
{
    std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
    const u8 *p = QelRamPara::p_qelrampara_config->ram_para + Img::INPUT_TIMING + Img::INPUT_TIMING_SIZE * slot;
    return {p[0] | (p[1] << 8), p[2] | (p[3] << 8), p[4], p[5]};
}

}

class TestTavixSource : public QObject
{
    Q_OBJECT
private slots:
    void rewriteSeveralInputs()
    {
        TestRoot root;
        QelRamPara *ram = QelRamPara::pInstance();
        tavixsource *tv = tavixsource::pInstance();
        source_sim &sim = tv->sim();

        ram->QelSetEDIDPara(1, 1280, 720, 50);
        ram->QelSetEDIDPara(3, 1366, 768, 60);
        ram->QelSetEDIDPara(5, 8000, 2160, 30);   // not encodable
        tv->pc_edid_loaded[3] = 1;
        for (int slot : {1, 3, 5, 6, -1})
            tv->request_edid_rewrite(slot);

        tv->pass();   // written
        for (int slot = 0; slot < 6; ++slot) {
            const int asked = (slot == 1 || slot == 3 || slot == 5) ? 1 : 0;
            QCOMPARE(sim.edid_writes(slot), asked);
            QCOMPARE(int(tv->edid_written_flag[slot]), asked);
            QCOMPARE(int(tv->set_edid_flag[slot]), asked);
            QCOMPARE(sim.hotplug_drops(slot) + sim.receiver_restarts(slot), 0);
        }
        QCOMPARE(int(tv->pc_edid_loaded[3]), 0);
        DecodedEdid d = decodeEdid(sim.edid(3));
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QCOMPARE(d.h_active, 1366);
        QCOMPARE(decodeEdid(sim.edid(1)).v_active, 720);
        QCOMPARE(decodeEdid(sim.edid(5)).h_active, 3840);   // default table
        QCOMPARE(decodeEdid(sim.edid(0)).h_active, 1920);   // untouched memory

        tv->pass();   // hot-plug and restart
        tv->pass();   // nothing more
        for (int slot : {1, 3, 5}) {
            QCOMPARE(sim.edid_writes(slot), 1);
            QCOMPARE(sim.hotplug_drops(slot), 1);
            QCOMPARE(sim.receiver_restarts(slot), 1);
            QVERIFY(sim.hotplug_high(slot));
            QCOMPARE(int(tv->set_edid_flag[slot]), 0);
            QCOMPARE(int(tv->edid_written_flag[slot]), 1);
        }

        // the request byte alone, as a factory reset may write it
        tv->set_edid_flag[0] = 1;
        tv->pass();
        tv->pass();
        QCOMPARE(sim.edid_writes(0), 1);
        QCOMPARE(sim.receiver_restarts(0), 1);
        QCOMPARE(int(tv->set_edid_flag[0]), 0);

        tavixsource::destroyInstance();
        QelRamPara::destroyInstance();
    }

    // A new request between the write and the restart is not swallowed; a
    // request made before the parameter store exists waits for it.
    void requestsAreNotLost()
    {
        TestRoot root;
        tavixsource *tv = tavixsource::pInstance();
        source_sim &sim = tv->sim();
        tv->request_edid_rewrite(4);
        tv->pass();
        QCOMPARE(sim.edid_writes(4), 0);
        QCOMPARE(int(tv->set_edid_flag[4]), 1);

        QelRamPara *ram = QelRamPara::pInstance();
        ram->QelSetEDIDPara(4, 2560, 1440, 60);
        tv->pass();
        ram->QelSetEDIDPara(4, 1920, 1200, 60);
        tv->request_edid_rewrite(4);
        tv->pass();
        QCOMPARE(sim.edid_writes(4), 2);
        QCOMPARE(sim.receiver_restarts(4), 0);
        QCOMPARE(decodeEdid(sim.edid(4)).v_active, 1200);
        tv->pass();
        QCOMPARE(sim.receiver_restarts(4), 1);
        QCOMPARE(int(tv->set_edid_flag[4]), 0);

        tavixsource::destroyInstance();
        QelRamPara::destroyInstance();
    }

    void timingRecordsFollowSignals()
    {
        TestRoot root;
        root.writeSim(R"({"inputs": [{"slot": 2, "width": 1920, "height": 1080, "rate": 60}]})");
        QelRamPara *ram = QelRamPara::pInstance();
        tavixsource *tv = tavixsource::pInstance();
        QSignalSpy spy(ram, &QelRamPara::sig_update_para);

        tv->pass();   // signal from sim.json appears
        QCOMPARE(timingRecord(2), QVector<int>({1920, 1080, 60, 0}));
        QCOMPARE(timingRecord(3), QVector<int>({0, 0, 0, 0}));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 12);
        tv->pass();   // no change, no code
        QCOMPARE(spy.count(), 1);

        tv->set_sim_signal(2, 1280, 720, 50);
        tv->set_sim_signal(5, 3840, 2160, 30);
        tv->pass();   // two inputs change in one pass: one code
        QCOMPARE(timingRecord(2), QVector<int>({1280, 720, 50, 0}));
        QCOMPARE(timingRecord(5), QVector<int>({3840, 2160, 30, 0}));
        QCOMPARE(spy.count(), 2);

        // gone; half a signal is none; a rate above a byte is held at 255
        tv->set_sim_signal(2, 0, 0, 0);
        tv->set_sim_signal(5, 3840, 0, 30);
        tv->set_sim_signal(1, 800, 600, 300);
        tv->pass();
        QCOMPARE(timingRecord(2), QVector<int>({0, 0, 0, 0}));
        QCOMPARE(timingRecord(5), QVector<int>({0, 0, 0, 0}));
        QCOMPARE(timingRecord(1), QVector<int>({800, 600, 255, 0}));
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(2).at(0).toInt(), 12);

        QCOMPARE(tv->set_sim_signal(6, 1920, 1080, 60), 1);
        QCOMPARE(tv->set_sim_signal(-1, 1920, 1080, 60), 1);
        tavixsource::destroyInstance();
        QelRamPara::destroyInstance();
    }

    void gs2971ResetPulse()
    {
        TestRoot root;
        tavixsource *tv = tavixsource::pInstance();
        QVERIFY(tv->it66121);
        it66121_sys *tx = tv->it66121;
        QVERIFY(tx->gs2971_reset_high());

        tx->GS2971_Reset();   // returns at once, line low
        QVERIFY(!tx->gs2971_reset_high());
        TestEnv::advanceTicks(4);
        tv->pass();
        QVERIFY(!tx->gs2971_reset_high());
        TestEnv::advanceTicks(1);
        tv->pass();
        QVERIFY(tx->gs2971_reset_high());

        // a second reset while low holds the line a full 50 ms again
        tx->GS2971_Reset();
        TestEnv::advanceTicks(3);
        tx->GS2971_Reset();
        TestEnv::advanceTicks(3);
        tv->pass();
        QVERIFY(!tx->gs2971_reset_high());
        TestEnv::advanceTicks(2);
        tv->pass();
        QVERIFY(tx->gs2971_reset_high());
        QCOMPARE(tx->gs2971_reset_pulses(), 3);
        QCOMPARE(tx->gs2971_reset_releases(), 2);
        tavixsource::destroyInstance();
    }

    void threadedStartStop()
    {
        TestRoot root;
        QelRamPara *ram = QelRamPara::pInstance();
        tavixsource *tv = tavixsource::pInstance();
        std::atomic<int> code12{0};   // counted on the manager's thread
        QObject context;
        connect(ram, &QelRamPara::sig_update_para, &context, [&code12](int code) {
            if (code == 12)
                ++code12;
        }, Qt::DirectConnection);

        tv->start();
        tv->start();   // a second start is harmless
        tv->set_sim_signal(3, 1920, 1080, 50);
        QTRY_COMPARE_WITH_TIMEOUT(timingRecord(3), QVector<int>({1920, 1080, 50, 0}), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(code12 >= 1, 5000);

        ram->QelSetEDIDPara(3, 1280, 1024, 60);
        for (int slot = 0; slot < 6; ++slot)
            tv->request_edid_rewrite(slot);
        QTRY_VERIFY_WITH_TIMEOUT(tv->sim().receiver_restarts(0) == 1 && tv->sim().receiver_restarts(5) == 1
                                     && tv->set_edid_flag[3] == 0, 5000);
        QCOMPARE(decodeEdid(tv->sim().edid(3)).v_active, 1024);

        tv->it66121->GS2971_Reset();
        TestEnv::advanceTicks(5);
        QTRY_VERIFY_WITH_TIMEOUT(tv->it66121->gs2971_reset_high(), 5000);

        tv->stop();
        tv->stop();
        tavixsource::destroyInstance();
        QelRamPara::destroyInstance();
    }
};

QTEST_GUILESS_MAIN(TestTavixSource)
#include "test_tavixsource.moc"
