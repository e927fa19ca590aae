# picture quality
target_sources(qelapp PRIVATE
  ui/picture/imagequality.h ui/picture/imagequality.cpp ui/picture/imagequality.ui
)
