# Install rules and the Debian package: the executable, its desktop entry, icons and
# AppStream metadata, the manual page, and the licence and changelog a package must carry.
include(GNUInstallDirs)
install(TARGETS vexo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/vexo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/org.vexo.vexo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 128 256)
  install(FILES data/icons/${size}/vexo.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The manual page lists the controls of data/controls.txt.
include(${PROJECT_SOURCE_DIR}/cmake/controls.cmake)
vexo_controls(roff desktop VEXO_CONTROLS)
configure_file(data/vexo.6.in ${CMAKE_CURRENT_BINARY_DIR}/man/vexo.6 @ONLY)

# Compressed without a name or time stamp, so that the same text gives the same bytes.
foreach(text ${CMAKE_CURRENT_BINARY_DIR}/man/vexo.6 ${PROJECT_SOURCE_DIR}/data/debian/changelog)
  get_filename_component(name ${text} NAME)
  add_custom_command(OUTPUT ${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${text} ${name}
    COMMAND gzip -9nf ${name}
    DEPENDS ${text})
  list(APPEND compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vexo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES data/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES data/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME vexo)

set(CPACK_PACKAGE_NAME vexo)
set(CPACK_PACKAGE_VENDOR "The Vexo developers")
# No project mail address exists yet: see data/debian/lintian-overrides.
set(CPACK_PACKAGE_CONTACT "Vexo developers <vexo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# The extended description, one line of at most 80 characters per list entry.
set(description
    "Vexo shows a white die with black pips spinning in a small window, lit by"
    "three coloured lights, green, blue and red, over a mid-grey background."
    "Turn, pan and zoom the view with modifier-key drags of the left mouse"
    "button, step the die from the keyboard, pause the spin with the space bar,"
    "switch to the outlines of its faces with Enter, and quit from the"
    "right-button menu. It reads no files and writes nothing.")
list(JOIN description "\n" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The GL driver is loaded at run time, so no library names it: depend on it by name.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri")
include(CPack)
