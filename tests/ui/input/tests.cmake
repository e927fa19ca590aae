qel_add_test(test_inputchoose ui/input/test_inputchoose.cpp)
qel_add_test(test_inputcut ui/input/test_inputcut.cpp)
qel_add_test(test_edidset ui/input/test_edidset.cpp video_io/edid_decode.h)
