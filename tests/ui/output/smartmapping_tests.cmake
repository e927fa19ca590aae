qel_add_test(test_smartmapping ui/output/test_smartmapping.cpp)
