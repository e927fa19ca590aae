# bench/open_check.sh compares qelbench's "open ratio" with this program,
# which measures the same openings by pressing the menu buttons.
add_executable(qel_open_check open_check.cpp)
target_link_libraries(qel_open_check PRIVATE qelbenchopen)
