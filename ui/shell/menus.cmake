target_sources(qelapp PRIVATE
  ui/shell/panel_text.h ui/shell/screen_helpers.h ui/shell/screen_helpers.cpp
  ui/shell/mainwindow.h ui/shell/mainwindow.cpp ui/shell/mainwindow.ui
  ui/shell/lockwindow.h ui/shell/lockwindow.cpp ui/shell/lockwindow.ui
  ui/shell/digit_clock.h ui/shell/digit_clock.cpp
  ui/shell/option.h ui/shell/option.cpp ui/shell/option.ui
  ui/shell/syncupdate.h ui/shell/syncupdate.cpp
  ui/shell/lcd_touch.h ui/shell/lcd_touch.cpp
)
