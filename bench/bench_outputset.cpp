#include "bench/bench.h"
#include "core/qelrampara.h"
#include "tests/support/testenv.h"
#include "ui/output/outputset.h"

QEL_BENCH("open output screen")
{
    TestRoot root;
    QelRamPara::pInstance();
    const double ns = benchTime(50, [] {
        OutputSet screen;
        screen.show();
    });
    QelRamPara::destroyInstance();
    return ns;
}
