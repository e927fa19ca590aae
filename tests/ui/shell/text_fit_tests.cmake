# panel font and text fitting, over every screen in every language
if(TARGET qel_panel_tour)
  qel_add_test(test_text_fit ui/shell/test_text_fit.cpp)
  target_link_libraries(test_text_fit PRIVATE qel_panel_tour)
endif()
