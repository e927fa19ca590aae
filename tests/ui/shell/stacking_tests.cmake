# The panel on a real X server (its own Xvfb, no window manager): skipped,
# saying why, when Xvfb is missing.
find_package(X11 REQUIRED)
if(NOT X11_XTest_FOUND)
  message(FATAL_ERROR "libXtst is missing (scripts/setup installs libxtst-dev)")
endif()
qel_add_test(test_panel_stacking ui/shell/test_panel_stacking.cpp ui/shell/x_server.cpp ui/shell/x_server.h)
target_include_directories(test_panel_stacking PRIVATE ${X11_INCLUDE_DIR})
target_link_libraries(test_panel_stacking PRIVATE ${X11_X11_LIB} ${X11_XTest_LIB})
set_tests_properties(test_panel_stacking PROPERTIES SKIP_RETURN_CODE 77)
