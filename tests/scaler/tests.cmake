qel_add_test(test_c331_manage scaler/test_c331_manage.cpp LABELS threaded)
qel_add_test(test_omenu scaler/test_omenu.cpp)
qel_add_test(test_c331_drv scaler/test_c331_drv.cpp)
