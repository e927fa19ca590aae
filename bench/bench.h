#ifndef QEL_BENCH_BENCH_H
#define QEL_BENCH_BENCH_H

#include <QElapsedTimer>
#include <functional>
#include <string>
#include <vector>

// A tiny benchmark registry: QEL_BENCH(name) { ...; return figure; } where
// the body runs its own loop and returns nanoseconds per operation.
struct BenchEntry
{
    std::string name;
    std::function<double()> run;
};
std::vector<BenchEntry> &benchRegistry();

struct BenchRegistrar
{
    BenchRegistrar(const char *name, std::function<double()> fn) { benchRegistry().push_back({name, std::move(fn)}); }
};

#define QEL_BENCH_CAT2(a, b) a##b
#define QEL_BENCH_CAT(a, b) QEL_BENCH_CAT2(a, b)
#define QEL_BENCH(name)                                                                      \
    static double QEL_BENCH_CAT(bench_fn_, __LINE__)();                                      \
    static BenchRegistrar QEL_BENCH_CAT(bench_reg_, __LINE__)(name, QEL_BENCH_CAT(bench_fn_, __LINE__)); \
    static double QEL_BENCH_CAT(bench_fn_, __LINE__)()

// Runs fn n times and returns nanoseconds per call.
inline double benchTime(int n, const std::function<void()> &fn)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i)
        fn();
    return double(t.nsecsElapsed()) / n;
}

#endif
