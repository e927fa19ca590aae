target_sources(qelapp PRIVATE
  core/types.h core/param_layout.h core/shared_text.h
  core/global.h core/global.cpp
  core/logmsg.h core/logmsg.cpp
  core/utils.h core/utils.cpp
  core/json_guard.h core/json_guard.cpp
  core/file_stamp.h core/file_stamp.cpp
  core/manager_thread.h core/manager_thread.cpp
  core/sim_config.h core/sim_config.cpp
  core/sim_watcher.h core/sim_watcher.cpp
  core/config_engine.h core/config_engine.cpp
  core/qelrampara.h core/qelrampara.cpp
)
