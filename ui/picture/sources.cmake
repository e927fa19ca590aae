# window layout
include(${CMAKE_CURRENT_LIST_DIR}/imagelayout.cmake)
# picture quality
include(${CMAKE_CURRENT_LIST_DIR}/imagequality.cmake)
# test patterns
include(${CMAKE_CURRENT_LIST_DIR}/test_chart.cmake)
# user modes
include(${CMAKE_CURRENT_LIST_DIR}/custommode.cmake)
