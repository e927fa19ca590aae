# The panel served over VNC by scripts/run, seen through a real VNC client.
add_executable(vnc_panel_check scripts/vnc_panel_check.cpp)
target_link_libraries(vnc_panel_check PRIVATE qelapp)
add_test(NAME test_vnc_panel
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/test_vnc_panel.sh
          ${PROJECT_SOURCE_DIR} $<TARGET_FILE:qelR58N> $<TARGET_FILE:vnc_panel_check>)
set_tests_properties(test_vnc_panel PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 60 ENVIRONMENT "QEL_TEST=1")
