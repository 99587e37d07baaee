# The code page 932 tables of the codec: generated at build time by tools/cp932_gen.cpp from the
# build machine's converter (iconv's CP932, or Windows' code page 932 on Windows), and compiled
# into ostra_base. The generator always runs on the build machine: in a cross build (Windows
# with MinGW-w64) it is compiled with the host's own C++ compiler. It fails the build when the
# machine's converter is missing or incomplete.
set(OSTRA_CP932_GEN_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/tools/cp932_gen.cpp)
set(OSTRA_CP932_TABLES ${CMAKE_CURRENT_BINARY_DIR}/generated/cp932_tables.cpp)

if(CMAKE_CROSSCOMPILING)
  find_program(OSTRA_HOST_CXX NAMES c++ g++ clang++ REQUIRED
               DOC "The build machine's C++ compiler, for the programs the build runs")
  set(generator ${CMAKE_CURRENT_BINARY_DIR}/host/cp932_gen)
  add_custom_command(
    OUTPUT ${generator}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/host
    COMMAND ${OSTRA_HOST_CXX} -std=c++20 -O1 -Wall -Wextra -Wpedantic -Werror
            ${OSTRA_CP932_GEN_SOURCE} -o ${generator}
    DEPENDS ${OSTRA_CP932_GEN_SOURCE}
    COMMENT "Building the code page 932 table generator for the build machine"
    VERBATIM)
else()
  add_executable(ostra_cp932_gen ${OSTRA_CP932_GEN_SOURCE})
  target_compile_options(ostra_cp932_gen PRIVATE ${OSTRA_WARNINGS})
  set(generator ostra_cp932_gen)
endif()

add_custom_command(
  OUTPUT ${OSTRA_CP932_TABLES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
  COMMAND ${generator} ${OSTRA_CP932_TABLES}
  DEPENDS ${generator}
  COMMENT "Generating the code page 932 tables from the build machine's converter"
  VERBATIM)
target_sources(ostra_base PRIVATE ${OSTRA_CP932_TABLES})
