# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (posix threads variant):
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DOSTRA_BUILD_GUI=OFF
# The programs link the C and C++ runtimes and winpthread statically, so each .exe runs on a
# bare Windows without MinGW's DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(OSTRA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${OSTRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OSTRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${OSTRA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OSTRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine when CMake or CTest needs to run them on this machine.
find_program(OSTRA_WINE NAMES wine64 wine)
if(OSTRA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OSTRA_WINE})
endif()
