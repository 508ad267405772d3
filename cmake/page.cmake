# Writes the page from its markup and script (IN) and the table of the keys the program takes
# (KEYS), which the program writes at build time. Usage: cmake -DIN=.. -DKEYS=.. -DOUT=.. -P page.cmake
file(READ ${KEYS} VEXO_KEYS)
string(STRIP "${VEXO_KEYS}" VEXO_KEYS)
configure_file(${IN} ${OUT} @ONLY)
