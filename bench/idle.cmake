# bench/idle.sh compares the running program with this bare timer program.
add_executable(qel_bare_timer bare_timer.cpp)
target_link_libraries(qel_bare_timer PRIVATE Qt5::Widgets)
