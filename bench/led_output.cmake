list(APPEND QEL_BENCH_SOURCES bench_led_output.cpp)
