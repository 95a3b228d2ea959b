# Windows build (mingw-w64): Zelkovane.exe, the Windows tests run under
# Wine, and the end-to-end driver. Win32-only sources end in _win32.cpp.
enable_language(RC)
set(ZK_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
target_compile_definitions(zelko_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)

file(GLOB ZK_WIN32_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/model/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/files/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/render/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/print/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/editors/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/platform/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/app/*_win32.cpp)
set(ZK_WIN32_LIBS user32 gdi32 comdlg32 comctl32 winspool shell32 shlwapi kernel32)

# The Win32 layer without the entry point, shared by the program and the
# Windows tests.
list(FILTER ZK_WIN32_SOURCES EXCLUDE REGEX "/app/main_win32\\.cpp$")
add_library(zelko_win32 STATIC ${ZK_WIN32_SOURCES})
target_link_libraries(zelko_win32 PUBLIC zelko_core ${ZK_WIN32_LIBS})
target_compile_options(zelko_win32 PRIVATE ${ZK_WARNINGS})

if(EXISTS ${CMAKE_SOURCE_DIR}/app/main_win32.cpp)
  add_executable(Zelkovane WIN32 ${CMAKE_SOURCE_DIR}/app/main_win32.cpp ${CMAKE_SOURCE_DIR}/app/zelkovane.rc)
  target_link_libraries(Zelkovane PRIVATE zelko_win32)
  target_compile_options(Zelkovane PRIVATE ${ZK_WARNINGS})
  target_link_options(Zelkovane PRIVATE -municode ${ZK_STATIC_RUNTIME})
endif()

# GoogleTest built from Debian's sources for the Windows tests.
if(EXISTS /usr/src/googletest/googletest)
  add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  file(GLOB ZK_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
  if(ZK_WIN_TESTS)
    add_executable(zelko_win_tests ${ZK_WIN_TESTS})
    target_link_libraries(zelko_win_tests PRIVATE zelko_win32 gtest gtest_main)
    target_link_options(zelko_win_tests PRIVATE ${ZK_STATIC_RUNTIME})
    target_compile_definitions(zelko_win_tests PRIVATE ZK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endif()
endif()

# The end-to-end driver: a console program that starts Zelkovane.exe and
# drives it through its real windows.
file(GLOB ZK_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_win32.cpp)
if(ZK_E2E_SOURCES)
  add_executable(zelko_e2e ${ZK_E2E_SOURCES})
  target_link_libraries(zelko_e2e PRIVATE ${ZK_WIN32_LIBS})
  target_link_options(zelko_e2e PRIVATE -municode ${ZK_STATIC_RUNTIME})
endif()
