# user modes
target_sources(qelapp PRIVATE
  ui/picture/custommode.h ui/picture/custommode.cpp ui/picture/custommode.ui
  ui/picture/painted_frame.h ui/picture/painted_frame.cpp
)
