# A table of data kept as a tab-separated text file under data/ and compiled into the program as
# a string, so that the program finds no file at run time. An edit of the file configures and
# rebuilds.
#
# ostra_data_table_rows(FILE DELIMITER TEXT ROWS): reads FILE (CR removed) into TEXT, refuses a
# text that holds the raw-string delimiter ")DELIMITER", and gives its lines in ROWS as a list
# (brackets would keep a list from splitting and ";" would split one: in ROWS they read as "_";
# the row checks see them so).
function(ostra_data_table_rows file delimiter text_var rows_var)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  file(READ ${file} text)
  string(REPLACE "\r" "" text "${text}")
  string(FIND "${text}" ")${delimiter}" found)
  if(NOT found EQUAL -1)
    message(FATAL_ERROR "${file} holds \")${delimiter}\"")
  endif()
  string(REGEX REPLACE "[][;]" "_" rows "${text}")
  string(REPLACE "\n" ";" rows "${rows}")
  set(${text_var} "${text}" PARENT_SCOPE)
  set(${rows_var} "${rows}" PARENT_SCOPE)
endfunction()
