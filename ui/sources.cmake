target_sources(qelapp PRIVATE ui/screen_list.cpp)
