# One file per screen of this folder.
include(${CMAKE_CURRENT_LIST_DIR}/outputset.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/smartmapping.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/linkoption.cmake)
