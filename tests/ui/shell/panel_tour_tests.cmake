# the screenshot tour: every page reached, the same way twice, nothing left behind
if(TARGET qel_panel_tour)
  qel_add_test(test_panel_tour ui/shell/test_panel_tour.cpp)
  target_link_libraries(test_panel_tour PRIVATE qel_panel_tour)
endif()
