#include <QApplication>
#include <cstdio>
#include <cstring>

#include "bench/bench.h"
#include "core/global.h"

std::vector<BenchEntry> &benchRegistry()
{
    static std::vector<BenchEntry> entries;
    return entries;
}

// qelbench [filter]: runs every benchmark whose name contains the filter.
// A benchmark that failed returns a negative figure: the exit code is then 1.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_debugSwitch = 0;
    const char *filter = argc > 1 ? argv[1] : "";
    int failed = 0;
    for (const BenchEntry &e : benchRegistry()) {
        if (!strstr(e.name.c_str(), filter))
            continue;
        const double ns = e.run();
        if (ns < 0) {
            printf("%-60s %10s\n", e.name.c_str(), "FAILED");
            failed = 1;
        } else if (ns >= 1e6)
            printf("%-60s %10.3f ms\n", e.name.c_str(), ns / 1e6);
        else
            printf("%-60s %10.3f us\n", e.name.c_str(), ns / 1e3);
        fflush(stdout);
    }
    return failed;
}
