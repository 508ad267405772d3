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

# The zip a Windows user downloads: one folder with the program, stripped, the licence and a
# README with the controls of data/controls.txt, text with Windows' line ends for Notepad.
# Modes are fixed, not the builder's umask, and every entry carries SOURCE_DATE_EPOCH.
include(${PROJECT_SOURCE_DIR}/cmake/controls.cmake)
vexo_controls(text desktop VEXO_CONTROLS)
string(REPLACE "\n" "\r\n" VEXO_CONTROLS "${VEXO_CONTROLS}")  # the template's own lines below
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS vexo RUNTIME DESTINATION . COMPONENT zip
        PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/LICENSE.txt DESTINATION .
        COMPONENT zip PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
# The manipulator's library and headers are for Debian's -dev package, not for this zip.
set(CPACK_GENERATOR ZIP)
set(CPACK_COMPONENTS_ALL zip)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_FILE_NAME vexo-${PROJECT_VERSION}-windows-x86_64)
set(CPACK_STRIP_FILES ON)
include(CPack)
