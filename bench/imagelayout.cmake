list(APPEND QEL_BENCH_SOURCES bench_imagelayout.cpp)
# the form-alone figure builds the window layout's form by itself
list(APPEND CMAKE_AUTOUIC_SEARCH_PATHS ${CMAKE_SOURCE_DIR}/ui/picture)
