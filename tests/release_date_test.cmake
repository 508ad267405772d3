# The release date in the AppStream metadata and on the manual page is the day of the changelog's
# latest entry, as date(1) reads it. Usage: cmake -DBUILD=BUILD_DIR -P release_date_test.cmake
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../data/debian/changelog signature REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX MATCH ", ([0-9]+ [A-Za-z]+ [0-9]+) " day "${signature}")
execute_process(COMMAND env LC_ALL=C date -d "${CMAKE_MATCH_1}" "+%F;%B %Y" OUTPUT_VARIABLE expected
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
list(GET expected 0 date)
list(GET expected 1 month)
file(STRINGS ${BUILD}/org.vexo.vexo.metainfo.xml release REGEX "<release ")
file(STRINGS ${BUILD}/man/vexo.6 title REGEX "^\\.TH ")
if(NOT release MATCHES "date=\"${date}\"" OR NOT title MATCHES "\"${month}\"")
  message(FATAL_ERROR "the changelog's latest entry is of ${date}, but the metadata says\n"
                      "  ${release}\nand the manual page\n  ${title}")
endif()
