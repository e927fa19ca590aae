qel_add_test(test_test_chart ui/picture/test_test_chart.cpp)
