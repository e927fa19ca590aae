include(${CMAKE_CURRENT_LIST_DIR}/widgets_tests.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/menus_tests.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/device_requests_tests.cmake)
