# The standard class codes of the boring exchange XML: data/bed-standard-codes.tsv is read when
# the build is configured and compiled into ostra_formats as a string (formats/bed_codes.cpp
# parses it), so that the program finds no file at run time. An edit of the data file configures
# and rebuilds. The rows are checked here: a malformed row fails the configuration.
set(OSTRA_BED_CODES_DATA ${CMAKE_CURRENT_SOURCE_DIR}/data/bed-standard-codes.tsv)
set(OSTRA_BED_CODES_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/generated/bed_standard_codes.cpp)
set(OSTRA_BED_CODES_DELIMITER "ostra_bed_codes")
include(${CMAKE_CURRENT_LIST_DIR}/data_table.cmake)
ostra_data_table_rows(${OSTRA_BED_CODES_DATA} ${OSTRA_BED_CODES_DELIMITER} OSTRA_BED_CODES_TEXT rows)

# Every row: a class key, a code of three digits, a symbol, a status V, P or D, its sources.
set(number 0)
foreach(row IN LISTS rows)
  math(EXPR number "${number} + 1")
  if(row STREQUAL "" OR row MATCHES "^#")
    continue()
  endif()
  if(NOT row MATCHES
     "^(rock-grade|weathering|hardness|fracture|alteration|core-shape)\t[0-9][0-9][0-9]\t[^\t]+\t[VPD]\t[^\t]+(\t|$)")
    message(FATAL_ERROR "${OSTRA_BED_CODES_DATA}:${number}: not a row of the standard codes")
  endif()
endforeach()

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/cmake/bed_standard_codes.cpp.in
               ${OSTRA_BED_CODES_SOURCE} @ONLY)
target_sources(ostra_formats PRIVATE ${OSTRA_BED_CODES_SOURCE})
