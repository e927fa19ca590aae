# One file per screen of this folder.
include(${CMAKE_CURRENT_LIST_DIR}/outputset.cmake OPTIONAL)
# smart mapping wizard
include(${CMAKE_CURRENT_LIST_DIR}/smartmapping.cmake OPTIONAL)
