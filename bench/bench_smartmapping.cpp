#include <mutex>

#include "bench/bench.h"
#include "core/global.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/support/testenv.h"

namespace {

// Job 1 on LED1 with `cards` cards, from the post to its final 100, the
// manager stepped by hand ten ticks a pass. The wait before the final 100
// costs passes, not time.
double smart_mapping_job(int cards, int runs)
{
    TestRoot root;
    root.writeSim(R"({"fpgas":[{"state":3,"version":[1,6,11,26]},{"state":3,"version":[1,6,11,26]}]})");
    fpga_manage *m = fpga_manage::pInstance();
    m->fpga(0)->set_card_count(0, cards);
    {
        std::lock_guard<std::mutex> lock(g_line_type_mutex);
        line_type = LINE_TYPE{128, 96, 0, 0, 0, 8, 8, 4};
    }
    const double ns = benchTime(runs, [m] {
        fpga_manage::post_job(JOB_SMART_MAPPING);
        while (g_send_para.job() != 0) {
            m->pass();
            TestEnv::advanceTicks(10);
        }
    });
    fpga_manage::destroyInstance();
    return ns;
}

}

QEL_BENCH("smart mapping job, 1 card on the port") { return smart_mapping_job(1, 200); }
QEL_BENCH("smart mapping job, 16 cards on the port") { return smart_mapping_job(16, 100); }
QEL_BENCH("smart mapping job, 64 cards on the port") { return smart_mapping_job(64, 50); }
// what one more card costs, the job's fixed part left out
QEL_BENCH("smart mapping job, time per card")
{
    return (smart_mapping_job(64, 50) - smart_mapping_job(1, 200)) / 63;
}
