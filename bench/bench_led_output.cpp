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
