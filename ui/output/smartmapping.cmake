target_sources(qelapp PRIVATE
  ui/output/smartmapping.h ui/output/smartmapping.cpp ui/output/smartmapping.ui
  ui/output/scan_file_list.h ui/output/scan_file_list.cpp
)
