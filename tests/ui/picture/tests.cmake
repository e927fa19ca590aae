qel_add_test(test_imagelayout ui/picture/test_imagelayout.cpp)
qel_add_test(test_imagequality ui/picture/test_imagequality.cpp)
qel_add_test(test_test_chart ui/picture/test_test_chart.cpp)
include(${CMAKE_CURRENT_LIST_DIR}/custommode_tests.cmake)
