# Install rules and the Debian packages: vexo, with the executable, its desktop entry, icons
# and AppStream metadata and the manual page; libvexo-manipulator-dev, with what the
# manipulator's own CMake installs; each with the licence and changelog a package must carry.
include(GNUInstallDirs)
# The project has no web address of its own yet; a distributor with one sets it here.
set(VEXO_HOMEPAGE "https://vexo.localhost/" CACHE STRING "The project's homepage in the metadata")
install(TARGETS vexo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT vexo)
install(FILES data/vexo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT vexo)
foreach(size 48 128 256)
  install(FILES data/icons/${size}/vexo.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT vexo)
endforeach()

# The changelog's latest entry is the release being built, and its date is the release's, in
# the metadata and on the manual page.
file(STRINGS data/debian/changelog release LIMIT_COUNT 1)
if(NOT release MATCHES "^vexo \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "data/debian/changelog's latest entry is not ${PROJECT_VERSION}: ${release}")
endif()
file(STRINGS data/debian/changelog signature REGEX "^ -- " LIMIT_COUNT 1)
if(NOT signature MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "data/debian/changelog's latest entry has no date: ${signature}")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
set(months Jan January Feb February Mar March Apr April May May Jun June Jul July Aug August
    Sep September Oct October Nov November Dec December)
list(FIND months ${CMAKE_MATCH_2} index)
math(EXPR month "${index} / 2 + 1" OUTPUT_FORMAT DECIMAL)
math(EXPR index "${index} + 1")
list(GET months ${index} month_name)
string(LENGTH "${month}" digits)
if(digits EQUAL 1)
  set(month 0${month})
endif()
set(VEXO_RELEASE_DATE ${year}-${month}-${day})
set(VEXO_RELEASE_MONTH "${month_name} ${year}")
configure_file(data/org.vexo.vexo.metainfo.xml.in org.vexo.vexo.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/org.vexo.vexo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT vexo)

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
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vexo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6
        COMPONENT vexo)
# The manipulator's guide and its example, where the header says they are.
install(FILES docs/manipulator.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/libvexo-manipulator-dev
        COMPONENT manipulator)
install(FILES examples/light.c examples/CMakeLists.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/libvexo-manipulator-dev/examples COMPONENT manipulator)
foreach(component vexo manipulator)
  set(package vexo)
  if(component STREQUAL manipulator)
    set(package libvexo-manipulator-dev)
  endif()
  install(FILES data/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  file(READ data/debian/lintian-overrides overrides)
  string(REPLACE "vexo:" "${package}:" overrides "${overrides}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/lintian/${package} "${overrides}")
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lintian/${package}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT ${component})
  string(TOUPPER ${component} COMPONENT)
  set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_NAME ${package})
endforeach()
# A packaged static library keeps its symbols but not its debugging sections, as Debian's own.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/$<TARGET_FILE_NAME:manipulator>\"
        COMMAND_ERROR_IS_FATAL ANY)
  endif()" COMPONENT manipulator)

set(CPACK_PACKAGE_NAME vexo)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL vexo manipulator)
set(CPACK_PACKAGE_VENDOR "The Vexo developers")
# No project mail address exists yet: see data/debian/lintian-overrides.
set(CPACK_PACKAGE_CONTACT "Vexo developers <vexo@localhost>")
# Each package's description starts with its own synopsis; CPack prepends the general summary
# to them unless it is left at CPack's own default.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
# The extended description, one line of at most 80 characters per list entry.
set(description
    "Vexo shows a white die with black pips spinning in a small window, lit by"
    "three coloured lights, green, blue and red, over a mid-grey background."
    "Turn, pan and zoom the view with modifier-key drags of the left mouse"
    "button, step the die from the keyboard, pause the spin with the space bar,"
    "switch to the outlines of its faces with Enter, and quit from the"
    "right-button menu. It reads no files and writes nothing.")
list(JOIN description "\n" CPACK_COMPONENT_VEXO_DESCRIPTION)
set(CPACK_COMPONENT_VEXO_DESCRIPTION "${PROJECT_DESCRIPTION}\n${CPACK_COMPONENT_VEXO_DESCRIPTION}")
set(description
    "Development files for Vexo's view manipulator, a small static library that a"
    "GLUT program written in C or C++ uses to turn modifier-key drags of the left"
    "mouse button, and keys, into a view transform: turns, zoom and pan, preset"
    "orientations, two bounded client parameters, and hooks for redraws, quitting"
    "and changes. Found by pkg-config as vexo-manipulator and by CMake as the"
    "package VexoManipulator.")
list(JOIN description "\n" CPACK_COMPONENT_MANIPULATOR_DESCRIPTION)
set(CPACK_COMPONENT_MANIPULATOR_DESCRIPTION
    "view manipulator for GLUT programs (development files)\n${CPACK_COMPONENT_MANIPULATOR_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_VEXO_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_VEXO_PACKAGE_SHLIBDEPS ON)
# The GL driver is loaded at run time, so no library names it: depend on it by name.
set(CPACK_DEBIAN_VEXO_PACKAGE_DEPENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_MANIPULATOR_PACKAGE_SECTION libdevel)
# What the header and the pkg-config file name: GLUT's and GL's development files.
set(CPACK_DEBIAN_MANIPULATOR_PACKAGE_DEPENDS "libglut-dev, libgl-dev")
include(CPack)
