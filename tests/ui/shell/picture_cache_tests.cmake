qel_add_test(test_picture_cache ui/shell/test_picture_cache.cpp)
