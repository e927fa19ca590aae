qel_add_test(test_machinestate ui/advanced/test_machinestate.cpp)
