# window layout
include(${CMAKE_CURRENT_LIST_DIR}/imagelayout_tests.cmake)
# picture quality
include(${CMAKE_CURRENT_LIST_DIR}/imagequality_tests.cmake)
# test patterns
include(${CMAKE_CURRENT_LIST_DIR}/test_chart_tests.cmake)
# user modes
include(${CMAKE_CURRENT_LIST_DIR}/custommode_tests.cmake)
