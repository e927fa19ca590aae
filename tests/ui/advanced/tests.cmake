qel_add_test(test_advancedoption ui/advanced/test_advancedoption.cpp)
include(${CMAKE_CURRENT_LIST_DIR}/machinestate_tests.cmake)
