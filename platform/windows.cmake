# What the Windows program has of its own: a windowed executable, without a console, that
# carries Vexo's icon, its DPI-aware manifest and its version in its resources.
set_target_properties(vexo PROPERTIES WIN32_EXECUTABLE ON)
find_program(VEXO_CONVERT convert REQUIRED)
set(VEXO_ICON ${CMAKE_BINARY_DIR}/vexo.ico)
add_custom_command(OUTPUT ${VEXO_ICON}
  COMMAND ${VEXO_CONVERT} ${PROJECT_SOURCE_DIR}/data/icons/256/vexo.png
          -define icon:auto-resize=256,128,48,32,16 -strip ${VEXO_ICON}
  DEPENDS ${PROJECT_SOURCE_DIR}/data/icons/256/vexo.png)
add_custom_target(vexo_icon DEPENDS ${VEXO_ICON})
add_dependencies(vexo vexo_icon)
set(VEXO_MANIFEST ${CMAKE_BINARY_DIR}/vexo.manifest)
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/vexo.manifest.in ${VEXO_MANIFEST} @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/vexo.rc.in ${CMAKE_BINARY_DIR}/vexo.rc @ONLY)
target_sources(vexo PRIVATE ${CMAKE_BINARY_DIR}/vexo.rc)

# The zip's README, with the controls of data/controls.txt; windows.sh gives it Windows' line ends.
include(${PROJECT_SOURCE_DIR}/cmake/controls.cmake)
vexo_controls(text desktop VEXO_CONTROLS)
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY)
