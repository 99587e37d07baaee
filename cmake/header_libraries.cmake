# nlohmann/json, CLI11 and RapidXML are header-only: the build machine's copies (Debian's
# nlohmann-json3-dev, libcli11-dev and librapidxml-dev) serve every build, the Windows cross
# build too. Their folders are linked into an include folder of their own, so that no other
# header of the build machine's system comes along with them.
set(OSTRA_HEADER_LIBRARIES ${CMAKE_BINARY_DIR}/header-libraries)
file(MAKE_DIRECTORY ${OSTRA_HEADER_LIBRARIES})

function(ostra_header_library target header folder package)
  find_path(OSTRA_${target}_DIR ${header} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
  if(NOT OSTRA_${target}_DIR)
    message(FATAL_ERROR "${header} not found: install the Debian package ${package}")
  endif()
  set(link ${OSTRA_HEADER_LIBRARIES}/${folder})
  if(NOT EXISTS ${link})
    file(CREATE_LINK ${OSTRA_${target}_DIR}/${folder} ${link} COPY_ON_ERROR SYMBOLIC)
  endif()
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${OSTRA_HEADER_LIBRARIES})
endfunction()

ostra_header_library(ostra_json nlohmann/json.hpp nlohmann nlohmann-json3-dev)
ostra_header_library(ostra_cli11 CLI/CLI.hpp CLI libcli11-dev)
ostra_header_library(ostra_rapidxml rapidxml/rapidxml.hpp rapidxml librapidxml-dev)
