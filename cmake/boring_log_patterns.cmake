# The fill patterns of the boring log: data/boring-log-patterns.tsv is read when the build is
# configured and compiled into ostra_preview as a string (preview/fill_patterns.cpp parses it),
# so that the program finds no file at run time. An edit of the data file configures and
# rebuilds. The rows are checked here: a malformed row fails the configuration.
set(OSTRA_PATTERNS_DATA ${CMAKE_CURRENT_SOURCE_DIR}/data/boring-log-patterns.tsv)
set(OSTRA_PATTERNS_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/generated/boring_log_patterns.cpp)
set(OSTRA_PATTERNS_DELIMITER "ostra_patterns")
include(${CMAKE_CURRENT_LIST_DIR}/data_table.cmake)
ostra_data_table_rows(${OSTRA_PATTERNS_DATA} ${OSTRA_PATTERNS_DELIMITER} OSTRA_PATTERNS_TEXT rows)

# A pattern row: id, colour, legend, tile size, marks; a key row: text, whole or ending, an id
# of a pattern row above it. At most 32 patterns: a layer's patterns are bits of an unsigned.
set(number_re "-?[0-9]+(\\.[0-9]+)?")
set(mark_re "(dot|ring) ${number_re} ${number_re} ${number_re}|line ${number_re} ${number_re} ${number_re} ${number_re}")
set(number 0)
set(ids "")
foreach(row IN LISTS rows)
  math(EXPR number "${number} + 1")
  if(row STREQUAL "" OR row MATCHES "^#")
    continue()
  endif()
  if(row MATCHES "^pattern\t([a-z-]+)\t#[0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f]\t[^\t]+\t[0-9]+\t(.+)$")
    set(id "${CMAKE_MATCH_1}")
    string(REPLACE "_ " ";" marks "${CMAKE_MATCH_2}")
    foreach(mark IN LISTS marks)
      if(NOT mark MATCHES "^(${mark_re})$")
        message(FATAL_ERROR "${OSTRA_PATTERNS_DATA}:${number}: not a mark: ${mark}")
      endif()
    endforeach()
    if(id IN_LIST ids)
      message(FATAL_ERROR "${OSTRA_PATTERNS_DATA}:${number}: pattern ${id} given twice")
    endif()
    list(APPEND ids "${id}")
  elseif(row MATCHES "^key\t[^\t ]+\t(whole|ending)\t([a-z-]+)$")
    if(NOT CMAKE_MATCH_2 IN_LIST ids)
      message(FATAL_ERROR "${OSTRA_PATTERNS_DATA}:${number}: no pattern ${CMAKE_MATCH_2} above")
    endif()
  else()
    message(FATAL_ERROR "${OSTRA_PATTERNS_DATA}:${number}: not a row of the pattern table")
  endif()
endforeach()
list(LENGTH ids count)
if(count GREATER 32)
  message(FATAL_ERROR "${OSTRA_PATTERNS_DATA}: ${count} patterns, at most 32")
endif()

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/cmake/boring_log_patterns.cpp.in
               ${OSTRA_PATTERNS_SOURCE} @ONLY)
target_sources(ostra_preview PRIVATE ${OSTRA_PATTERNS_SOURCE})
