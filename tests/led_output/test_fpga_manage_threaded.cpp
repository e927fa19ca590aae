#include <QtTest>

#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/support/idle_turns.h"
#include "tests/support/testenv.h"

// The manager on its own thread (its jobs beside a screen: the smart-mapping threaded test).
class TestFpgaManageThreaded : public QObject
{
    Q_OBJECT

private slots:
    void jobsEndToEndOnTheManagerThread()
    {
        TestRoot root;
        root.writeSim(R"({"fpgas":[{"state":3},{"state":3}], "cards":{"5":1}, "card_reply":{"5":"never"}})");
        QelRamPara *para = QelRamPara::pInstance();
        fpga_manage *m = fpga_manage::pInstance();
        QList<int> values, codes;
        connect(m, &fpga_manage::sig_job_progress, this, [&](int, int v) { values.append(v); }, Qt::QueuedConnection);
        connect(para, &QelRamPara::sig_update_para, this, [&](int c) { codes.append(c); }, Qt::QueuedConnection);
        m->start();

        // idle it polls the port links a few times per 100 ms and still reports a change
        const u32 idle = IdleTurns::during(fpga_manage::thread());
        QVERIFY2(idle <= IdleTurns::MAX, qPrintable(QString::number(idle)));
        m->fpga(1)->set_link(4, true);
        QTRY_VERIFY_WITH_TIMEOUT(codes.contains(REFRESH_PORT_LINKS), 1000);

        // ageing sample on this thread while the manager runs
        G_factoryage_ticks = G_timeTicks.load() - 20000;
        QVERIFY(fpga_manage::ageing_tick() && factoryage_log.size() == 1);

        // a job (waiting for a card that never answers) keeps it at one turn per tick
        QVERIFY(fpga_manage::post_job(JOB_SAVE_PARA));
        QTRY_VERIFY_WITH_TIMEOUT(!values.isEmpty(), 1000);
        const u32 working = IdleTurns::during(fpga_manage::thread());
        QVERIFY2(working > IdleTurns::MAX, qPrintable(QString::number(working)));
        g_send_para.clear();
        fpga_manage::destroyInstance();
        QelRamPara::destroyInstance();
    }
};

QTEST_GUILESS_MAIN(TestFpgaManageThreaded)
#include "test_fpga_manage_threaded.moc"
