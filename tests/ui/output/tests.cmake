include(${CMAKE_CURRENT_LIST_DIR}/outputset_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/smartmapping_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/linkoption_tests.cmake)
