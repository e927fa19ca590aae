target_sources(qelapp PRIVATE
  ui/input/inputchoose.h ui/input/inputchoose.cpp ui/input/inputchoose.ui
)
