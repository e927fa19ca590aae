qel_add_test(test_inputchoose ui/input/test_inputchoose.cpp)
qel_add_test(test_inputcut ui/input/test_inputcut.cpp)
qel_add_test(test_edidset ui/input/test_edidset.cpp video_io/edid_decode.h)
qel_add_test(test_input_signals_threaded ui/input/test_input_signals_threaded.cpp LABELS threaded)
