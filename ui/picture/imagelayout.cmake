target_sources(qelapp PRIVATE
  ui/picture/imagelayout.h ui/picture/imagelayout.cpp ui/picture/imagelayout.ui
)
