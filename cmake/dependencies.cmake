# What the build takes from the system.
#
# The command-line program needs two header-only libraries (Debian: libcli11-dev and
# nlohmann-json3-dev), the reader of boring exchange XML a third (librapidxml-dev). The window
# needs Qt 6 and the tests GoogleTest: with OSTRA_BUILD_GUI and OSTRA_BUILD_TESTS at AUTO (the
# default) they are built when those are found, and a status line says so when not; ON makes
# them required, OFF leaves them out. The results are OSTRA_WITH_GUI and OSTRA_WITH_TESTS.

# The header-only libraries: see header_libraries.cmake.
include(${CMAKE_CURRENT_LIST_DIR}/header_libraries.cmake)

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

# What the window uses (the picture on the screen, on paper and in PDF) and its tests.
set(OSTRA_QT_COMPONENTS Widgets Svg SvgWidgets PrintSupport Test)
set(qt_found FALSE)
if("${OSTRA_BUILD_GUI}" STREQUAL "AUTO")
  find_package(Qt6 QUIET COMPONENTS ${OSTRA_QT_COMPONENTS})
  set(qt_found ${Qt6_FOUND})
endif()
ostra_choose(OSTRA_WITH_GUI OSTRA_BUILD_GUI "${qt_found}"
  "Qt 6 (Widgets, Svg, SvgWidgets, PrintSupport, Test) not found: the window ostraconv is not built")

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
