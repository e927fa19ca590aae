list(APPEND QEL_BENCH_SOURCES bench_advancedoption.cpp)
