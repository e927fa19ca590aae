target_sources(qelapp PRIVATE
  remote/r58_wifi_config.h remote/r58_wifi_config.cpp
  remote/usbserver.h remote/usbserver.cpp
)
