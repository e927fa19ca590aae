target_sources(qelapp PRIVATE
  ui/output/smartmapping.h ui/output/smartmapping.cpp ui/output/smartmapping.ui
)
