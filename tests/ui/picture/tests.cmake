# window layout
include(${CMAKE_CURRENT_LIST_DIR}/imagelayout_tests.cmake OPTIONAL)
# picture quality
include(${CMAKE_CURRENT_LIST_DIR}/imagequality_tests.cmake OPTIONAL)
# test patterns
include(${CMAKE_CURRENT_LIST_DIR}/test_chart_tests.cmake OPTIONAL)
# user modes
include(${CMAKE_CURRENT_LIST_DIR}/custommode_tests.cmake OPTIONAL)
