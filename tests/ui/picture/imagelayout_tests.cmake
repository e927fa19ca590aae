qel_add_test(test_imagelayout ui/picture/test_imagelayout.cpp)
