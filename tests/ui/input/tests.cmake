qel_add_test(test_inputchoose ui/input/test_inputchoose.cpp)
