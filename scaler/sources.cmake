target_sources(qelapp PRIVATE
  scaler/c331_manage.h scaler/c331_manage.cpp
)
