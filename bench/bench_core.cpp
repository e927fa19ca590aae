#include "bench/bench.h"
#include "core/qelrampara.h"
#include "tests/support/testenv.h"

QEL_BENCH("parameter file save (4096 bytes, atomic)")
{
    TestRoot root;
    QelRamPara *p = QelRamPara::pInstance();
    const double ns = benchTime(200, [p] {
        p->ram_para[2000]++;
        p->save_device_info();
    });
    QelRamPara::destroyInstance();
    return ns;
}
