# What `cmake --install` puts where, and the packages CPack makes of it (scripts/package):
#
#   Debian (prefix /usr): two packages      Windows zip (one folder)
#   ostraconv-cli:                          ostraconv.exe (the window), ostraconv-cli.exe (and
#     bin/ostraconv-cli                       any MinGW DLL they need)
#     share/ostraconv/examples/ (the sample PATDAT\ (the sample's reference folder, beside the
#       data set, its PATDAT and README.md)   programs, where the window finds it at start),
#     share/doc/ostraconv-cli/README.md,    sample\ (the sample data set and its README.md),
#       README.ja.md, docs/ (their pictures convert-sample.cmd
#       and report-json.md), copyright      README.md, README.ja.md, README.ja.txt (the
#     share/man/man1/ostraconv-cli.1.gz       Japanese guide for Notepad: UTF-8 with a byte
#     share/bash-completion/completions/      order mark, CR LF), docs\ (the pictures and
#       ostraconv-cli                         report-json.md)
#     share/doc/ostraconv-cli/
#       changelog.Debian.gz
#   ostraconv (the window; depends on
#   ostraconv-cli of the same version):
#     bin/ostraconv
#     share/man/man1/ostraconv.1.gz
#     share/applications/ostraconv.desktop
#     share/icons/hicolor/scalable/apps/
#       ostraconv.svg
#     share/doc/ostraconv/copyright,
#       changelog.Debian.gz
#
# The install components: cli (the command line, the sample and the guides) and window.
include(GNUInstallDirs)

if(WIN32)
  set(OSTRA_INSTALL_BIN .)
  set(OSTRA_INSTALL_EXAMPLES sample)
  set(OSTRA_INSTALL_PATDAT .)
  set(OSTRA_INSTALL_DOC .)
else()
  set(OSTRA_INSTALL_BIN ${CMAKE_INSTALL_BINDIR})
  set(OSTRA_INSTALL_EXAMPLES ${CMAKE_INSTALL_DATADIR}/ostraconv/examples)
  set(OSTRA_INSTALL_PATDAT ${OSTRA_INSTALL_EXAMPLES})
  set(OSTRA_INSTALL_DOC ${CMAKE_INSTALL_DATADIR}/doc/ostraconv-cli)
endif()

install(TARGETS ostraconv-cli RUNTIME DESTINATION ${OSTRA_INSTALL_BIN} COMPONENT cli)
if(TARGET ostraconv)
  install(TARGETS ostraconv RUNTIME DESTINATION ${OSTRA_INSTALL_BIN} COMPONENT window)
  # The window's --version says what the command line's says.
  target_compile_definitions(ostraconv PRIVATE OSTRA_VERSION="${PROJECT_VERSION}"
                                               OSTRA_COMMIT="${OSTRA_COMMIT}")
endif()

file(GLOB ostra_sample_files ${PROJECT_SOURCE_DIR}/examples/*.GDF)
install(FILES ${ostra_sample_files} ${PROJECT_SOURCE_DIR}/examples/README.md
        DESTINATION ${OSTRA_INSTALL_EXAMPLES} COMPONENT cli)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/PATDAT DESTINATION ${OSTRA_INSTALL_PATDAT}
        COMPONENT cli)
# The guides with the pictures and the report format they link to, so that the links hold.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/README.ja.md
        DESTINATION ${OSTRA_INSTALL_DOC} COMPONENT cli)
install(FILES ${PROJECT_SOURCE_DIR}/docs/window.png ${PROJECT_SOURCE_DIR}/docs/windows.png
              ${PROJECT_SOURCE_DIR}/docs/preview.png
              ${PROJECT_SOURCE_DIR}/docs/preview-page1.png ${PROJECT_SOURCE_DIR}/docs/preview-300m.png
              ${PROJECT_SOURCE_DIR}/docs/report-json.md
        DESTINATION ${OSTRA_INSTALL_DOC}/docs COMPONENT cli)

if(WIN32)
  # The Japanese guide as a text file that a double click opens in Notepad.
  # (UTF-8 with a byte order mark and CR LF line ends, which every Notepad reads as UTF-8.)
  file(READ ${PROJECT_SOURCE_DIR}/README.ja.md ostra_readme_ja)
  string(REPLACE "\r\n" "\n" ostra_readme_ja "${ostra_readme_ja}")
  string(REPLACE "\n" "\r\n" ostra_readme_ja "${ostra_readme_ja}")
  string(ASCII 239 187 191 ostra_bom)
  file(WRITE ${CMAKE_BINARY_DIR}/README.ja.txt "${ostra_bom}${ostra_readme_ja}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                                         ${PROJECT_SOURCE_DIR}/README.ja.md)
  install(FILES ${CMAKE_BINARY_DIR}/README.ja.txt DESTINATION ${OSTRA_INSTALL_DOC} COMPONENT cli)
  # A command file for cmd, with the CR LF line ends cmd expects whatever the checkout has, in
  # code page 932, in which cmd reads it on Japanese Windows. (Its Japanese has no character
  # whose second byte is "\", "^" or "|", which a cmd of another code page would take as such.)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/convert-sample.cmd.in
                 ${CMAKE_BINARY_DIR}/convert-sample-utf8.cmd @ONLY NEWLINE_STYLE CRLF)
  execute_process(COMMAND iconv -f UTF-8 -t CP932 INPUT_FILE ${CMAKE_BINARY_DIR}/convert-sample-utf8.cmd
                  OUTPUT_FILE ${CMAKE_BINARY_DIR}/convert-sample.cmd RESULT_VARIABLE ostra_iconv)
  if(NOT ostra_iconv EQUAL 0)
    message(FATAL_ERROR "iconv could not write convert-sample.cmd in code page 932")
  endif()
  file(READ ${CMAKE_BINARY_DIR}/convert-sample.cmd ostra_cmd HEX)
  string(LENGTH "${ostra_cmd}" ostra_end)
  set(ostra_at 0)
  while(ostra_at LESS ostra_end)
    string(SUBSTRING "${ostra_cmd}" ${ostra_at} 4 ostra_pair)
    math(EXPR ostra_at "${ostra_at} + 2")
    if(ostra_pair MATCHES "^(8[1-9a-f]|9[0-9a-f]|e[0-9a-f]|f[0-9a-c])")
      if(ostra_pair MATCHES "(5c|5e|7c)$")
        message(FATAL_ERROR "convert-sample.cmd.in: a character whose second byte is ${CMAKE_MATCH_1}")
      endif()
      math(EXPR ostra_at "${ostra_at} + 2")
    endif()
  endwhile()
  install(PROGRAMS ${CMAKE_BINARY_DIR}/convert-sample.cmd DESTINATION ${OSTRA_INSTALL_BIN}
          COMPONENT cli)
endif()

if(MINGW)
  # The programs link MinGW's runtime statically (cmake/mingw-w64-x86_64.cmake). Should one
  # need a DLL of it all the same, that DLL goes beside the programs; DLLs not found in MinGW's
  # folders are the system's own.
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                  OUTPUT_VARIABLE ostra_gcc_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                  OUTPUT_VARIABLE ostra_pthread_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(ostra_gcc_dir "${ostra_gcc_dll}" DIRECTORY)
  get_filename_component(ostra_pthread_dir "${ostra_pthread_dll}" DIRECTORY)
  set(ostra_programs "[[$<TARGET_FILE:ostraconv-cli>]]")
  if(TARGET ostraconv)
    string(APPEND ostra_programs " [[$<TARGET_FILE:ostraconv>]]")
  endif()
  install(CODE "
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND [[${CMAKE_OBJDUMP}]])
    file(GET_RUNTIME_DEPENDENCIES
      EXECUTABLES ${ostra_programs}
      DIRECTORIES [[${ostra_gcc_dir}]] [[${ostra_pthread_dir}]]
      RESOLVED_DEPENDENCIES_VAR found
      UNRESOLVED_DEPENDENCIES_VAR system)
    foreach(dll IN LISTS found)
      message(STATUS \"MinGW runtime DLL beside the program: \${dll}\")
    endforeach()
    file(INSTALL \${found} DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${OSTRA_INSTALL_BIN}\")
  " COMPONENT cli)
endif()

if(NOT WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/debian_files.cmake)
endif()

set(CPACK_PACKAGE_NAME ostraconv)
set(CPACK_PACKAGE_VENDOR ostraconv)
set(CPACK_PACKAGE_CONTACT "ostraconv maintainers <ostraconv@localhost>")
if(WIN32)
  # (Each Debian package has a description of its own, whose first line is its summary:
  # cmake/debian_files.cmake.)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
      "converter of Japanese rock boring logs into the import files of Ostra")
endif()
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ostraconv-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  # Depends: from the libraries the programs link (dpkg-shlibdeps).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
