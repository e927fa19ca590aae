# advanced settings
target_sources(qelapp PRIVATE
  ui/advanced/advancedoption.h ui/advanced/advancedoption.ui ui/advanced/advancedoption_common.h
  ui/advanced/advancedoption.cpp ui/advanced/advancedoption_resets.cpp
  ui/advanced/advancedoption_agelog.cpp ui/advanced/advancedoption_recovery.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/machinestate.cmake)
