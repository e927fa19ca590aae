list(APPEND QEL_BENCH_SOURCES bench_custommode.cpp)
