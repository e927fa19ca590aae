# test patterns
target_sources(qelapp PRIVATE
  ui/picture/test_chart.h ui/picture/test_chart.cpp ui/picture/test_chart.ui
)
