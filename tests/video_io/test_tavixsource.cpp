#include <QtTest>

#include <mutex>

#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "tests/support/idle_turns.h"
#include "tests/support/testenv.h"
#include "tests/video_io/edid_decode.h"
#include "video_io/it66121_sys.h"
#include "video_io/tavixsource.h"

namespace {

// Input timing records of the slots as "w x h @ rate / last byte", read
// under the writers' lock.
QString records(std::initializer_list<int> inputs)
{
    std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
    QStringList out;
    for (int slot : inputs) {
        const u8 *p = QelRamPara::p_qelrampara_config->ram_para + Img::INPUT_TIMING + Img::INPUT_TIMING_SIZE * slot;
        out << QStringLiteral("%1x%2@%3/%4").arg(p[0] | (p[1] << 8)).arg(p[2] | (p[3] << 8)).arg(p[4]).arg(p[5]);
    }
    return out.join(' ');
}

// Per input: EDID writes, hot-plug drops, receiver restarts, hot-plug high,
// request flag, written mark.
QString ports(tavixsource *tv)
{
    QStringList out;
    const source_sim &sim = tv->sim();
    for (int i = 0; i < 6; ++i)
        out << QStringLiteral("%1%2%3%4%5%6").arg(sim.edid_writes(i)).arg(sim.hotplug_drops(i))
                   .arg(sim.receiver_restarts(i)).arg(int(sim.hotplug_high(i)))
                   .arg(int(tv->set_edid_flag[i])).arg(int(tv->edid_written_flag[i]));
    return out.join(' ');
}

}

class TestTavixSource : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        tavixsource::destroyInstance();
        QelRamPara::destroyInstance();
    }

    void rewriteSeveralInputs()
    {
        TestRoot root;
        tavixsource *tv = tavixsource::pInstance();
        const source_sim &sim = tv->sim();
        tv->request_edid_rewrite(1);   // before the parameter store exists: waits for it
        tv->pass();
        QCOMPARE(ports(tv).mid(7, 6), QStringLiteral("000110"));

        QelRamPara *ram = QelRamPara::pInstance();
        ram->QelSetEDIDPara(1, 1280, 720, 50);
        ram->QelSetEDIDPara(3, 1366, 768, 60);
        ram->QelSetEDIDPara(5, 8000, 2160, 30);   // not encodable
        tv->pc_edid_loaded[3] = 1;
        for (int slot : {3, 5, 6, -1})
            tv->request_edid_rewrite(slot);

        tv->pass();   // written
        QCOMPARE(ports(tv), QStringLiteral("000100 100111 000100 100111 000100 100111"));
        QCOMPARE(int(tv->pc_edid_loaded[3]), 0);
        const DecodedEdid d = decodeEdid(sim.edid(3));
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        // input 5 has the default table, input 0 its untouched memory
        QCOMPARE(std::make_tuple(d.h_active, decodeEdid(sim.edid(1)).v_active, decodeEdid(sim.edid(5)).h_active,
                                 decodeEdid(sim.edid(0)).h_active),
                 std::make_tuple(1366, 720, 3840, 1920));

        // a new request between the write and the restart is not swallowed
        ram->QelSetEDIDPara(3, 1920, 1200, 60);
        tv->request_edid_rewrite(3);
        tv->pass();   // hot-plug and restart; input 3 written again
        QCOMPARE(ports(tv), QStringLiteral("000100 111101 000100 200111 000100 111101"));
        QCOMPARE(decodeEdid(sim.edid(3)).v_active, 1200);
        tv->set_edid_flag[0] = 1;   // the request byte alone, as a factory reset may write it
        tv->pass();
        tv->pass();
        QCOMPARE(ports(tv), QStringLiteral("111101 111101 000100 211101 000100 111101"));
    }

    void timingRecordsFollowSignals()
    {
        TestRoot root;
        QelRamPara *ram = QelRamPara::pInstance();
        tavixsource *tv = tavixsource::pInstance();
        QSignalSpy spy(ram, &QelRamPara::sig_update_para);
        tv->set_sim_signal(2, 1920, 1080, 60);
        tv->set_sim_signal(5, 3840, 2160, 30);
        tv->pass();
        tv->pass();   // no change, no code
        QCOMPARE(records({2, 5}) + QString::number(spy.count()), QStringLiteral("1920x1080@60/0 3840x2160@30/01"));

        // half a signal is none; a rate above a byte is held at 255
        tv->set_sim_signal(5, 3840, 0, 30);
        tv->set_sim_signal(2, 800, 600, 300);
        tv->pass();
        QCOMPARE(records({2, 5}), QStringLiteral("800x600@255/0 0x0@0/0"));
        QCOMPARE(spy.count(), 2);
        for (const QList<QVariant> &args : spy)
            QCOMPARE(args.at(0).toInt(), 12);
        QCOMPARE(tv->set_sim_signal(6, 1920, 1080, 60) + tv->set_sim_signal(-1, 1920, 1080, 60), 2);
    }

    void gs2971ResetPulse()
    {
        TestRoot root;
        tavixsource *tv = tavixsource::pInstance();
        it66121_sys *tx = tv->it66121;
        auto highAfter = [tv, tx](unsigned ticks) {
            TestEnv::advanceTicks(ticks);
            tv->pass();
            return tx->gs2971_reset_high();
        };
        QVERIFY(tx->gs2971_reset_high());
        tx->GS2971_Reset();   // returns at once, line low
        QVERIFY(!tx->gs2971_reset_high() && !highAfter(4));
        QVERIFY(highAfter(1));

        // a second reset while low holds the line a full 50 ms again
        tx->GS2971_Reset();
        TestEnv::advanceTicks(3);
        tx->GS2971_Reset();
        QVERIFY(!highAfter(3));
        QVERIFY(highAfter(2));
    }

    void threadedStartStop()
    {
        TestRoot root;
        QelRamPara *ram = QelRamPara::pInstance();
        tavixsource *tv = tavixsource::pInstance();
        tv->start();
        tv->start();   // a second start (and stop) is harmless
        const u32 idle = IdleTurns::during(tavixsource::thread());   // receivers polled, not every tick
        QVERIFY2(idle <= IdleTurns::MAX, qPrintable(QString::number(idle)));
        ram->QelSetEDIDPara(3, 1280, 1024, 60);
        tv->request_edid_rewrite(3);
        QTRY_VERIFY_WITH_TIMEOUT(tv->sim().receiver_restarts(3) == 1 && tv->set_edid_flag[3] == 0, 5000);
        QCOMPARE(decodeEdid(tv->sim().edid(3)).v_active, 1024);
        tv->stop();
        tv->stop();
    }
};

QTEST_GUILESS_MAIN(TestTavixSource)
#include "test_tavixsource.moc"
