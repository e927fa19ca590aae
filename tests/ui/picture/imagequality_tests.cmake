qel_add_test(test_imagequality ui/picture/test_imagequality.cpp)
