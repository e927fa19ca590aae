qel_add_test(test_edid_table video_io/test_edid_table.cpp video_io/edid_decode.h)
qel_add_test(test_edid_conformity video_io/test_edid_conformity.cpp)
set_tests_properties(test_edid_conformity PROPERTIES SKIP_REGULAR_EXPRESSION "edid-decode is not installed")
qel_add_test(test_tavixsource video_io/test_tavixsource.cpp video_io/edid_decode.h LABELS threaded)
