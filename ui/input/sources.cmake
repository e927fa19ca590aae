target_sources(qelapp PRIVATE
  ui/input/inputchoose.h ui/input/inputchoose.cpp ui/input/inputchoose.ui
)
# crop and EDID screens and what they share
target_sources(qelapp PRIVATE
  ui/input/input_tiles.h ui/input/input_tiles.cpp
  ui/input/inputcut.h ui/input/inputcut.cpp ui/input/inputcut.ui
  ui/input/edidset.h ui/input/edidset.cpp ui/input/edidset.ui
)
