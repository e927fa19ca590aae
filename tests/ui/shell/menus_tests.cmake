qel_add_test(test_mainwindow ui/shell/test_mainwindow.cpp LABELS threaded)
qel_add_test(test_lcd_touch ui/shell/test_lcd_touch.cpp)
qel_add_test(test_syncupdate ui/shell/test_syncupdate.cpp)
