target_sources(qelapp PRIVATE
  video_io/edid_table.h video_io/edid_table.cpp
  video_io/source_sim.h video_io/source_sim.cpp
  video_io/it66121_sys.h video_io/it66121_sys.cpp
  video_io/tavixsource.h video_io/tavixsource.cpp
)
