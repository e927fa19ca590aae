qel_add_test(test_widgets ui/shell/test_widgets.cpp)
qel_add_test(test_alias ui/shell/test_alias.cpp)
