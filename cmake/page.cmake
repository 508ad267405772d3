# Writes the page from its markup (IN), the table of the keys the program takes (KEYS, written by
# the program at build time) and its script's ES modules (every .js file in MODULES) as one
# classic script: imports dropped, exports made plain declarations, all in one function that ends
# by starting the page. The modules' top-level names are therefore unique; nothing runs before
# that last line, so their order does not matter.
# Usage: cmake -DIN=.. -DKEYS=.. -DMODULES=.. -DOUT=.. -P page.cmake
file(READ ${KEYS} VEXO_KEYS)
string(STRIP "${VEXO_KEYS}" VEXO_KEYS)
file(GLOB modules ${MODULES}/*.js)
list(SORT modules)
set(VEXO_PAGE_SCRIPT "(() => {\n'use strict';\n")
foreach(module IN LISTS modules)
  file(READ ${module} text)
  string(REGEX REPLACE "(^|\n)import [^\n]*;\n" "\\1" text "${text}")
  string(REGEX REPLACE "(^|\n)export " "\\1" text "${text}")
  get_filename_component(name ${module} NAME)
  string(APPEND VEXO_PAGE_SCRIPT "// ---- ${name}\n${text}")
endforeach()
string(APPEND VEXO_PAGE_SCRIPT "window.vexoPage = startPage(window, vexoKeys);\n})();")
configure_file(${IN} ${OUT} @ONLY)
