# What the build takes from the system.
#
# The command-line program needs two header-only libraries (Debian: libcli11-dev and
# nlohmann-json3-dev). The window needs Qt 6 and the tests GoogleTest: with OSTRA_BUILD_GUI and
# OSTRA_BUILD_TESTS at AUTO (the default) they are built when those are found, and a status line
# says so when not; ON makes them required, OFF leaves them out. The results are OSTRA_WITH_GUI
# and OSTRA_WITH_TESTS.

# ostra_host_headers(TARGET FOLDER): in a cross build the host's header-only packages serve as
# they are, but their include folder (/usr/include) also holds the host's C library, whose headers
# must not come before the target system's. TARGET then sees a folder of links to its FOLDER only.
function(ostra_host_headers target folder)
  get_target_property(dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
  set(found "")
  foreach(dir IN LISTS dirs)
    if(IS_DIRECTORY "${dir}/${folder}")
      set(found "${dir}/${folder}")
      break()
    endif()
  endforeach()
  if(NOT found)
    message(FATAL_ERROR "${target}: no folder ${folder} in its include folders (${dirs})")
  endif()
  set(root ${CMAKE_BINARY_DIR}/host-headers/${target})
  string(REPLACE "::" "-" root "${root}")
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${found} ${root}/${folder} SYMBOLIC COPY_ON_ERROR)
  endif()
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root})
endfunction()

# Searched under the find roots of a cross toolchain first, then on the host.
find_package(CLI11 CONFIG REQUIRED CMAKE_FIND_ROOT_PATH_BOTH)
find_package(nlohmann_json REQUIRED CMAKE_FIND_ROOT_PATH_BOTH)
if(CMAKE_CROSSCOMPILING)
  ostra_host_headers(CLI11::CLI11 CLI)
  ostra_host_headers(nlohmann_json::nlohmann_json nlohmann)
endif()

# ostra_choose(RESULT OPTION FOUND WHAT): RESULT is TRUE when OPTION is AUTO and FOUND, or ON.
function(ostra_choose result option found what)
  if("${${option}}" STREQUAL "AUTO")
    if(found)
      set(${result} TRUE PARENT_SCOPE)
    else()
      set(${result} FALSE PARENT_SCOPE)
      message(STATUS "${what} (${option}=AUTO)")
    endif()
  elseif(${option})
    set(${result} TRUE PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()

set(OSTRA_QT_COMPONENTS Widgets Svg SvgWidgets Test)
set(qt_found FALSE)
if("${OSTRA_BUILD_GUI}" STREQUAL "AUTO")
  find_package(Qt6 QUIET COMPONENTS ${OSTRA_QT_COMPONENTS})
  set(qt_found ${Qt6_FOUND})
endif()
ostra_choose(OSTRA_WITH_GUI OSTRA_BUILD_GUI "${qt_found}"
  "Qt 6 (Widgets, Svg, SvgWidgets, Test) not found: the window ostraconv is not built")

set(gtest_found FALSE)
if("${OSTRA_BUILD_TESTS}" STREQUAL "AUTO")
  if(CMAKE_CROSSCOMPILING)
    # Built from Debian's sources for the target system (tests/CMakeLists.txt).
    set(OSTRA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
    if(EXISTS ${OSTRA_GTEST_SOURCE}/CMakeLists.txt AND NOT CMAKE_DISABLE_FIND_PACKAGE_GTest)
      set(gtest_found TRUE)
    endif()
  else()
    find_package(GTest QUIET)
    set(gtest_found ${GTest_FOUND})
  endif()
endif()
ostra_choose(OSTRA_WITH_TESTS OSTRA_BUILD_TESTS "${gtest_found}"
  "GoogleTest not found: the tests are not built")
