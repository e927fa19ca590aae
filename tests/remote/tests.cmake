qel_add_test(test_r58_wifi_config remote/test_r58_wifi_config.cpp LABELS threaded)
qel_add_test(test_usbserver remote/test_usbserver.cpp LABELS threaded)
