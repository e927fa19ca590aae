qel_add_test(test_custommode ui/picture/test_custommode.cpp)
