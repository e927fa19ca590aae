list(APPEND QEL_BENCH_SOURCES bench_open_ratio.cpp first_paint.cpp first_paint.h)
# The open-ratio figures build each screen's Designer form bare: a table from
# form class to its setupUi, made from every form under ui/, so a new screen's
# form is in it without an edit here. The forms are found from this file, so
# the table is the same when the repository is built inside another project.
get_filename_component(QEL_BENCH_UI_DIR ${CMAKE_CURRENT_LIST_DIR}/../ui ABSOLUTE)
file(GLOB_RECURSE QEL_BENCH_UI_FORMS CONFIGURE_DEPENDS ${QEL_BENCH_UI_DIR}/*.ui)
list(SORT QEL_BENCH_UI_FORMS)
if(NOT QEL_BENCH_UI_FORMS)
  message(FATAL_ERROR "bench: no Designer forms under ${QEL_BENCH_UI_DIR}: the open-ratio table would be empty")
endif()
set(QEL_BENCH_FORM_INCLUDES "")
set(QEL_BENCH_FORM_ROWS "")
foreach(form ${QEL_BENCH_UI_FORMS})
  file(READ ${form} text)
  # the form's class, then its top-level widget's class
  string(REGEX MATCH "<class>([A-Za-z_0-9]+)</class>" found "${text}")
  set(form_class ${CMAKE_MATCH_1})
  string(REGEX MATCH "<widget class=\"([A-Za-z_0-9]+)\"" found "${text}")
  set(top_class ${CMAKE_MATCH_1})
  if(form_class AND top_class)
    get_filename_component(form_name ${form} NAME_WE)
    list(APPEND QEL_BENCH_WRAPPED_FORMS ${form})
    string(APPEND QEL_BENCH_FORM_INCLUDES "#include \"ui_${form_name}.h\"\n")
    string(APPEND QEL_BENCH_FORM_ROWS "        {\"${form_class}\", &make_bare_form<Ui::${form_class}, ${top_class}>},\n")
  endif()
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/bench_forms.cpp.in ${CMAKE_CURRENT_BINARY_DIR}/bench_forms.cpp @ONLY)
# uic output next to the generated table, which automatic uic leaves alone
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/bench_forms.cpp PROPERTIES SKIP_AUTOUIC ON)
qt5_wrap_ui(QEL_BENCH_FORM_HEADERS ${QEL_BENCH_WRAPPED_FORMS})
# the forms and the measured shell, shared by qelbench and qel_open_check
add_library(qelbenchopen STATIC ${CMAKE_CURRENT_BINARY_DIR}/bench_forms.cpp bench_forms.h ${QEL_BENCH_FORM_HEADERS}
            open_device.cpp open_device.h)
target_include_directories(qelbenchopen PUBLIC ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(qelbenchopen PUBLIC qeltestsupport)
# The clock's stop, checked on a plain dialog (no timing is checked).
qel_add_test(test_first_paint ${CMAKE_CURRENT_LIST_DIR}/../tests/bench/test_first_paint.cpp first_paint.cpp first_paint.h)
