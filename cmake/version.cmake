# Vexo's version is the manipulator's, written once beside it.
include(${CMAKE_CURRENT_LIST_DIR}/../manipulator/version.cmake)
