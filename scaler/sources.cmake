target_sources(qelapp PRIVATE
  scaler/c331_drv.h scaler/c331_drv.cpp
  scaler/c331_manage.h scaler/c331_manage.cpp
  scaler/omenu.h scaler/omenu.cpp
)
