include(${CMAKE_CURRENT_LIST_DIR}/machinestate_tests.cmake)
