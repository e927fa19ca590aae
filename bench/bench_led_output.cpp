#include "bench/bench.h"
#include "core/global.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/support/testenv.h"

// One pass with no job, no upgrade and no set-up request: the LED hand-over
// check, the port watcher's register reads and the job-word look.
QEL_BENCH("fpga idle pass")
{
    TestRoot root;
    root.writeSim(R"({"fpgas":[{"state":3,"version":[3,17,5,24]},{"state":3,"version":[3,17,5,24]}],
                      "cards":{"1":4,"13":2}})");
    fpga_manage *m = fpga_manage::pInstance();
    m->pass();
    const double ns = benchTime(200000, [m] { m->pass(); });
    fpga_manage::destroyInstance();
    return ns;
}

// One pass of a save-parameters job over a wall whose cards all answer at
// once: the job's steps, card exchanges and progress reports.
QEL_BENCH("fpga save job pass, 24 ports x 8 cards")
{
    TestRoot root;
    root.writeSim(R"({"fpgas":[{"state":3,"version":[3,17,5,24]},{"state":3,"version":[3,17,5,24]}]})");
    fpga_manage *m = fpga_manage::pInstance();
    for (int f = 0; f < 2; ++f)
        for (int p = 0; p < fpga_drv::PORTS; ++p)
            m->fpga(f)->set_card_count(p, 8);
    m->pass();
    int passes = 0;
    QElapsedTimer t;
    t.start();
    for (int run = 0; run < 50; ++run) {
        fpga_manage::post_job(JOB_SAVE_PARA);
        while (g_send_para.job() != 0) {
            m->pass();
            TestEnv::advanceTicks(10);
            ++passes;
        }
    }
    const double ns = double(t.nsecsElapsed()) / passes;
    fpga_manage::destroyInstance();
    return ns;
}

// The USB page's list of upgrade files (GUI thread), 200 files on the stick.
QEL_BENCH("upgrade file list, 200 files")
{
    TestRoot root;
    for (int i = 0; i < 200; ++i)
        root.write(QStringLiteral("/mnt/usb1/p%1.%2").arg(i, 3, 10, QLatin1Char('0')).arg(i % 3 ? "QELZK" : "QEL"), "x");
    return benchTime(200, [] { (void)fpga_manage::upgrade_file_list(); });
}
