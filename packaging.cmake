# Install and package: the executable, its desktop entry and icon, and the manual page.
include(GNUInstallDirs)
install(TARGETS vexo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/vexo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/vexo.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
install(FILES data/vexo.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_PACKAGE_NAME vexo)
set(CPACK_PACKAGE_VENDOR "Vexo developers")
set(CPACK_PACKAGE_CONTACT "Vexo developers <vexo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The GL driver is loaded at run time, so no library names it: depend on it by name.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri")
include(CPack)
