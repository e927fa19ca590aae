qel_add_test(test_linkoption ui/output/test_linkoption.cpp)
