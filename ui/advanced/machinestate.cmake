# device status
target_sources(qelapp PRIVATE
  ui/advanced/machinestate.h ui/advanced/machinestate.cpp ui/advanced/machinestate.ui
)
