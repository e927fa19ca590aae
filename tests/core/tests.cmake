qel_add_test(test_qelrampara core/test_qelrampara.cpp)
qel_add_test(test_config_engine core/test_config_engine.cpp)
qel_add_test(test_utils core/test_utils.cpp LABELS threaded)
