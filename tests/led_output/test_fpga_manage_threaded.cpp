#include <QtTest>
#include <functional>

#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/support/idle_turns.h"
#include "tests/support/testenv.h"

// The manager on its own thread; the test thread plays the GUI thread.
class TestFpgaManageThreaded : public QObject
{
    Q_OBJECT

    // Moves the ticks on while the event loop runs, reading what the screens
    // read, until `done` holds or 20 s pass.
    bool drive(fpga_manage *m, const std::function<bool()> &done)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > 20000)
                return false;
            TestEnv::advanceTicks(20);
            (void)m->reg_mirror(1, 128);
            (void)m->geometry_mirror(0, 8);
            (void)m->get_wlan_state();
            m->read_from_register(0, 1);
            QStringList e;
            int n;
            m->recovery_result(&e, &n);
            QTest::qWait(1);
        }
        return true;
    }

private slots:
    void jobsEndToEndOnTheManagerThread()
    {
        TestRoot root;
        root.writeSim(R"({"fpgas":[{"state":3,"version":[1,2,3,4]},{"state":3,"version":[1,2,3,4]}],
                          "cards":{"2":3,"3":4,"5":1}, "card_reply":{"5":"never"}})");
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

        // job 1 on LED2 (three cards in a row) with an LED set-up request beside it
        {
            std::lock_guard<std::mutex> lock(g_line_type_mutex);
            line_type = LINE_TYPE{100, 50, 10, 20, 1, 1, 3, 12};
        }
        QVERIFY(fpga_manage::post_job(JOB_SMART_MAPPING));
        {
            std::lock_guard<std::mutex> lock(Utils::_led_para_init_mutex);
            g_set_led_para = 1;
            g_set_led_setup = 0;
        }
        QVERIFY(drive(m, [&] { return values.contains(100) && g_set_led_para.load() == 0; }));
        QVERIFY(g_send_para.job() == 0 && g_set_led_setup.load() == 0);
        for (int c = 0; c < 3; ++c)
            QCOMPARE(QList<int>({m->fpga(0)->card(1, c).position_x(), m->fpga(0)->card(1, c).position_y()}),
                     QList<int>({10 + 100 * (2 - c), 20}));

        // ageing sample on this thread while the manager runs
        G_factoryage_ticks = G_timeTicks.load() - 20000;
        QVERIFY(fpga_manage::ageing_tick() && factoryage_log.size() == 1);

        // a job keeps it at one turn per tick (it waits for a card that never answers)
        values.clear();
        QVERIFY(fpga_manage::post_job(JOB_SAVE_PARA));
        QTRY_VERIFY_WITH_TIMEOUT(!values.isEmpty(), 1000);
        const u32 working = IdleTurns::during(fpga_manage::thread());
        QVERIFY2(working > IdleTurns::MAX, qPrintable(QString::number(working)));
        QCOMPARE(int(g_send_para.job()), int(JOB_SAVE_PARA));
        g_send_para.clear();
        fpga_manage::destroyInstance();
        QelRamPara::destroyInstance();
    }
};

QTEST_GUILESS_MAIN(TestFpgaManageThreaded)
#include "test_fpga_manage_threaded.moc"
