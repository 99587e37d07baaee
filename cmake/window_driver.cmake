# ostraconv-drive.exe (tools/window_driver.cpp): works the Windows window through its messages
# for scripts/package-check and scripts/windows-screenshot. Windows builds only; not installed.
if(MINGW)
  add_executable(ostraconv-drive ${PROJECT_SOURCE_DIR}/tools/window_driver.cpp)
  target_include_directories(ostraconv-drive PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_compile_definitions(ostraconv-drive PRIVATE UNICODE _UNICODE)
  target_compile_options(ostraconv-drive PRIVATE ${OSTRA_WARNINGS})
  target_link_options(ostraconv-drive PRIVATE -static -municode)
endif()
