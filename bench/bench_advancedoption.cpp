#include <QStackedWidget>
#include <QtTest>

#include "bench/bench.h"
#include "core/global.h"
#include "core/qelrampara.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "led_output/rcv_card.h"
#include "tests/support/testenv.h"
#include "ui/advanced/advancedoption.h"
#include "ui/shell/screens.h"

// The ageing page of a full log (3360 lines): one page of 16 lines and the
// histograms drawn, as the tick and the paging do it, and repainted into the
// backing store of the exposed window (a window never exposed paints nothing).
QEL_BENCH("ageing page draw, full log")
{
    TestRoot root;
    QelRamPara::pInstance();
    factoryage_log.clear();
    for (int i = 0; i < fpga_manage::AGE_LOG_MAX; ++i)
        factoryage_log << QStringLiteral("01-02 03:04 %1 %2 7 %3 0 9").arg(i % 256).arg(i % 32).arg((i * 7) % 256);
    double ns = -1;
    {
        AdvancedOption screen;
        screen.findChild<QStackedWidget *>(QStringLiteral("stackedWidget"))->setCurrentIndex(5);
        screen.show();
        if (QTest::qWaitForWindowExposed(&screen))
            ns = benchTime(200, [&screen] {
            screen.update_agelog();
            screen.repaint();
        });
    }
    factoryage_log.clear();
    QelRamPara::destroyInstance();
    return ns;
}

// Job 5 on a wall with four answering cards behind each of the 24 ports,
// none needing recovery: every card of the recovery data is asked.
QEL_BENCH("check job (5), 24 ports x 4 cards")
{
    TestRoot root;
    QByteArray cards;
    for (int p = 1; p <= 24; ++p)
        cards += QByteArray(p > 1 ? "," : "") + QStringLiteral("\"%1\":4").arg(p).toLatin1();
    root.writeSim(R"({"fpgas":[{"state":3},{"state":3}],"cards":{)" + cards + "}}");
    QByteArray data("QRCV\x01\x18", 6);
    for (int port = 0; port < 24; ++port) {
        data.append(char(port)).append(char(0)).append(char(4)).append(char(0));
        data.append(QByteArray(4 * rcv_card::PARA_SIZE, char(port)));
    }
    root.write(QStringLiteral("/data/rcvrecovery/screen"), data);
    QelRamPara::pInstance();
    fpga_manage *m = fpga_manage::pInstance();
    m->pass();
    double ns = benchTime(20, [m] {
        fpga_manage::post_job(JOB_CHECK_CARDS);
        while (g_send_para.job() != 0) {
            m->pass();
            TestEnv::advanceTicks(1);
        }
    });
    // every card was asked on each run
    if (m->fpga(1)->card(11, 3).recovery_reads != 20u)
        ns = -1;
    fpga_manage::destroyInstance();
    QelRamPara::destroyInstance();
    return ns;
}
