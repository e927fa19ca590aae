target_sources(qelapp PRIVATE
  ui/shell/screens.h ui/shell/screens.cpp
  ui/shell/screen_registry.h ui/shell/screen_registry.cpp
  ui/shell/device_requests.h ui/shell/device_requests.cpp
  ui/shell/my_lineedit.h ui/shell/my_lineedit.cpp
  ui/shell/panel_placement.h ui/shell/panel_placement.cpp
  ui/shell/panel_app.h ui/shell/panel_app.cpp
  ui/shell/panel_style.h ui/shell/panel_style.cpp ui/shell/text_fit.h ui/shell/text_fit.cpp
)
# keypad, tip, ring, overlay, names, pictures
include(${CMAKE_CURRENT_LIST_DIR}/widgets.cmake)
# menus, home screen, refresh, idle return
include(${CMAKE_CURRENT_LIST_DIR}/menus.cmake)
