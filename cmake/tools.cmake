# Windows helper programs for the Wine prefixes of the tests and of
# `make run` (included by windows.cmake). Console programs, statically
# linked so that they need no DLL beside them.
file(GLOB ZK_TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*_win32.cpp)
foreach(src ${ZK_TOOL_SOURCES})
  get_filename_component(tool ${src} NAME_WE)
  string(REGEX REPLACE "_win32$" "" tool ${tool})
  add_executable(zelko_${tool} ${src})
  target_compile_definitions(zelko_${tool} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
  target_compile_options(zelko_${tool} PRIVATE ${ZK_WARNINGS})
  target_link_libraries(zelko_${tool} PRIVATE winspool gdi32 user32 advapi32)
  target_link_options(zelko_${tool} PRIVATE -municode ${ZK_STATIC_RUNTIME})
endforeach()
