target_sources(qelapp PRIVATE
  ui/shell/screens.h ui/shell/screens.cpp
  ui/shell/my_lineedit.h ui/shell/my_lineedit.cpp
)
