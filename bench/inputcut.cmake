list(APPEND QEL_BENCH_SOURCES bench_inputcut.cpp)
# the form-only figure builds the screen's form here too
list(APPEND CMAKE_AUTOUIC_SEARCH_PATHS ${CMAKE_SOURCE_DIR}/ui/input)
