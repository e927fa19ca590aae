# network and USB
target_sources(qelapp PRIVATE
  ui/output/linkoption.h ui/output/linkoption.cpp ui/output/linkoption.ui
)
