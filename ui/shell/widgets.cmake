target_sources(qelapp PRIVATE
  ui/shell/numberkeyboard.h ui/shell/numberkeyboard.cpp ui/shell/numberkeyboard.ui
  ui/shell/tip.h ui/shell/tip.cpp
  ui/shell/qroundprogressbar.h ui/shell/qroundprogressbar.cpp
  ui/shell/firmwareupdate.h ui/shell/firmwareupdate.cpp
  ui/shell/alias.h ui/shell/alias.cpp
  ui/shell/paged_rows.h ui/shell/paged_rows.cpp
  ui/shell/resources.qrc
)
# The pictures live in the static library; make every program that links it
# pull them in, since nothing calls into the resource object by name.
target_link_options(qelapp INTERFACE "LINKER:--undefined=_Z24qInitResources_resourcesv")
