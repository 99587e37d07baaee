# The files a Debian system expects of the two packages (cmake/packaging.cmake includes this
# on systems other than Windows): the manual pages of ostraconv-cli and ostraconv and the bash
# completion of ostraconv-cli, made from their --help when they are built
# (cmake/help_pages.cmake), the copyright file and the Debian changelog of each package, and
# the window's menu entry and icon; and how CPack splits the install components
# into the packages ostraconv-cli and ostraconv.
set(ostra_help_out ${CMAKE_BINARY_DIR}/help-pages)
set(ostra_man ${ostra_help_out}/ostraconv-cli.1)
set(ostra_completion ${ostra_help_out}/ostraconv-cli)
add_custom_command(
  OUTPUT ${ostra_man}.gz ${ostra_completion}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ostra_help_out}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:ostraconv-cli> -DVERSION=${PROJECT_VERSION}
          -DMAN=${ostra_man} "-DSUMMARY=岩盤柱状図のデータを Ostra が取り込むファイルに変換します"
          -DCOMPLETION=${ostra_completion}
          -DTEMPLATE=${PROJECT_SOURCE_DIR}/packaging/ostraconv-cli.bash.in
          -P ${PROJECT_SOURCE_DIR}/cmake/help_pages.cmake
  DEPENDS ostraconv-cli ${PROJECT_SOURCE_DIR}/cmake/help_pages.cmake
          ${PROJECT_SOURCE_DIR}/packaging/ostraconv-cli.bash.in
  COMMENT "Manual page and bash completion of ostraconv-cli from its --help"
  VERBATIM)
set(ostra_help_files ${ostra_man}.gz ${ostra_completion})
if(TARGET ostraconv)
  # The window's page, from its --help, which needs no display.
  set(ostra_window_man ${ostra_help_out}/ostraconv.1)
  add_custom_command(
    OUTPUT ${ostra_window_man}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ostra_help_out}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:ostraconv> -DVERSION=${PROJECT_VERSION}
            -DMAN=${ostra_window_man}
            "-DSUMMARY=岩盤柱状図のデータを Ostra が取り込むファイルに変換するウィンドウ"
            -P ${PROJECT_SOURCE_DIR}/cmake/help_pages.cmake
    DEPENDS ostraconv ${PROJECT_SOURCE_DIR}/cmake/help_pages.cmake
    COMMENT "Manual page of ostraconv from its --help"
    VERBATIM)
  list(APPEND ostra_help_files ${ostra_window_man}.gz)
  install(FILES ${ostra_window_man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT window)
endif()
add_custom_target(ostraconv-help-pages ALL DEPENDS ${ostra_help_files})

install(FILES ${ostra_man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT cli)
install(FILES ${ostra_completion} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        COMPONENT cli)
# The Debian changelog, compressed as Debian keeps it.
set(ostra_deb_version ${PROJECT_VERSION}-1)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.Debian.in
               ${ostra_help_out}/changelog.Debian @ONLY)
execute_process(COMMAND gzip -9n -c ${ostra_help_out}/changelog.Debian
                OUTPUT_FILE ${ostra_help_out}/changelog.Debian.gz RESULT_VARIABLE ostra_gzip)
if(NOT ostra_gzip EQUAL 0)
  message(FATAL_ERROR "gzip could not compress the Debian changelog")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${ostra_help_out}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ostraconv-cli COMPONENT cli)
if(TARGET ostraconv)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${ostra_help_out}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ostraconv COMPONENT window)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/ostraconv.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT window)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/ostraconv.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT window)
endif()

# One package per component. The Debian revision 1 (ostra_deb_version) makes them newer than
# the single package "ostraconv 1.0.0" that held everything before, whose files ostraconv-cli
# takes over.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli)
if(TARGET ostraconv)
  list(APPEND CPACK_COMPONENTS_ALL window)
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)  # as in ostra_deb_version
set(CPACK_DEBIAN_CLI_PACKAGE_NAME ostraconv-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_REPLACES "ostraconv (<< ${ostra_deb_version})")
set(CPACK_DEBIAN_CLI_PACKAGE_BREAKS "ostraconv (<< ${ostra_deb_version})")
set(CPACK_DEBIAN_CLI_DESCRIPTION [[
converter of Japanese rock boring logs into the import files of Ostra
Converts a rock boring log data set (MDT0001.GDF and its section files, or a
boring exchange XML file) into the text files the target system imports,
extending the reference folder PATDAT with the soil and class names met for the
first time. Holds the command-line program ostraconv-cli, its manual page and
bash completion, and a sample data set with its PATDAT in
/usr/share/ostraconv/examples. The window is in the package ostraconv.]])
set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME ostraconv)
# Its own Depends come from the libraries it links (dpkg-shlibdeps), after this one.
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "ostraconv-cli (= ${ostra_deb_version})")
set(CPACK_DEBIAN_WINDOW_DESCRIPTION [[
window of the converter of Japanese rock boring logs into Ostra's import files
The window ostraconv (Qt) of the converter in the package ostraconv-cli: choose
a data set and a destination folder, convert, and see the boring log drawn as
engineers draw it, printed or saved as PDF. It uses the reference folder and
the sample of ostraconv-cli.]])

if(OSTRA_WITH_TESTS)
  # The manual page and the completion agree with the help they were made from.
  add_test(NAME help_pages
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-help-pages $<TARGET_FILE:ostraconv-cli>
                   ${ostra_man}.gz ${ostra_completion})
  set_tests_properties(help_pages PROPERTIES SKIP_RETURN_CODE 77)
  if(TARGET ostraconv)
    # The window's help and version print without a display (the window could not open).
    foreach(option help version)
      add_test(NAME window_${option}
               COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                       --unset=QT_QPA_PLATFORM $<TARGET_FILE:ostraconv> --${option})
    endforeach()
    set_tests_properties(window_help PROPERTIES PASS_REGULAR_EXPRESSION
                         "^使い方: ostraconv \\[オプション\\]\n.*  -h, --help ")
    set_tests_properties(window_version PROPERTIES PASS_REGULAR_EXPRESSION
                         "^ostraconv ${PROJECT_VERSION} \\([^)]+\\)\n$")
  endif()
endif()
