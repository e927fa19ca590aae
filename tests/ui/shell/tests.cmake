include(${CMAKE_CURRENT_LIST_DIR}/widgets_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/menus_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/text_fit_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/device_requests_tests.cmake)
