qel_add_test(test_linkoption ui/output/test_linkoption.cpp)
qel_add_test(test_outputset ui/output/test_outputset.cpp)
qel_add_test(test_smartmapping ui/output/test_smartmapping.cpp)
qel_add_test(test_smartmapping_threaded ui/output/test_smartmapping_threaded.cpp LABELS threaded)
