qel_add_test(test_outputset ui/output/test_outputset.cpp)
