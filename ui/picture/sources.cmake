# window layout
include(${CMAKE_CURRENT_LIST_DIR}/imagelayout.cmake OPTIONAL)
# picture quality
include(${CMAKE_CURRENT_LIST_DIR}/imagequality.cmake OPTIONAL)
# test patterns
include(${CMAKE_CURRENT_LIST_DIR}/test_chart.cmake OPTIONAL)
# user modes
include(${CMAKE_CURRENT_LIST_DIR}/custommode.cmake OPTIONAL)
