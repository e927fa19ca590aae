target_sources(qelapp PRIVATE
  ui/output/outputset.h ui/output/outputset.cpp ui/output/outputset.ui
)
