qel_add_test(test_edid_table video_io/test_edid_table.cpp video_io/edid_decode.h)
qel_add_test(test_tavixsource video_io/test_tavixsource.cpp video_io/edid_decode.h LABELS threaded)
