qel_add_test(test_device_requests ui/shell/test_device_requests.cpp LABELS threaded)
