qel_add_test(test_qelrampara core/test_qelrampara.cpp)
