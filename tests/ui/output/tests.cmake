include(${CMAKE_CURRENT_LIST_DIR}/outputset_tests.cmake)
