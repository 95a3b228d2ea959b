# Windows build (mingw-w64): Zelkovane.exe, the Windows tests run under
# Wine, and the end-to-end driver. Win32-only sources end in _win32.cpp.
enable_language(RC)
set(ZK_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
target_compile_definitions(zelko_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)

file(GLOB ZK_WIN32_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/model/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/files/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/exchange/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/postal/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/render/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/print/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/editors/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/platform/*_win32.cpp
  ${CMAKE_SOURCE_DIR}/app/*_win32.cpp)
set(ZK_WIN32_LIBS user32 gdi32 comdlg32 comctl32 winspool shell32 shlwapi kernel32)

# The resource script and everything it pulls in (with the dialogs of
# printing). The pictures are drawn by app/images/make_images.py.
set(ZK_RESOURCES ${CMAKE_SOURCE_DIR}/app/zelkovane.rc)
file(GLOB ZK_EDITOR_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/editors/*.rc ${CMAKE_SOURCE_DIR}/editors/*_ids.h)
set_source_files_properties(${ZK_RESOURCES} PROPERTIES OBJECT_DEPENDS
  "${ZK_EDITOR_RESOURCES};${CMAKE_SOURCE_DIR}/app/resource_ids.h;${CMAKE_SOURCE_DIR}/print/print_dialogs.rc;${CMAKE_SOURCE_DIR}/print/print_dialog_ids.h;${CMAKE_SOURCE_DIR}/app/images/about.bmp;${CMAKE_SOURCE_DIR}/app/images/toolbar.bmp;${CMAKE_SOURCE_DIR}/app/images/zelkovane.ico;${CMAKE_SOURCE_DIR}/app/images/zelkovane_small.ico;${CMAKE_SOURCE_DIR}/app/zelkovane.manifest")

# The Win32 layer without the entry point, shared by the program and the
# Windows tests.
list(FILTER ZK_WIN32_SOURCES EXCLUDE REGEX "/app/main_win32\\.cpp$")
add_library(zelko_win32 STATIC ${ZK_WIN32_SOURCES})
target_link_libraries(zelko_win32 PUBLIC zelko_core ${ZK_WIN32_LIBS})
target_compile_options(zelko_win32 PRIVATE ${ZK_WARNINGS})

add_executable(Zelkovane WIN32 ${CMAKE_SOURCE_DIR}/app/main_win32.cpp ${ZK_RESOURCES})
target_include_directories(Zelkovane PRIVATE ${CMAKE_SOURCE_DIR}/app)
target_link_libraries(Zelkovane PRIVATE zelko_win32)
target_compile_options(Zelkovane PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${ZK_WARNINGS}>)
target_link_options(Zelkovane PRIVATE -municode ${ZK_STATIC_RUNTIME})

# GoogleTest built from Debian's sources (package googletest) for the
# Windows tests and the end-to-end driver.
set(ZK_GTEST_SOURCE /usr/src/googletest/googletest)
if(EXISTS ${ZK_GTEST_SOURCE}/CMakeLists.txt)
  add_subdirectory(${ZK_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # The Windows tests carry the program's resources, so that they can
  # create its dialogs and check its menu.
  file(GLOB ZK_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
  if(ZK_WIN_TESTS)
    # The printer helpers of the end-to-end driver serve these tests too.
    add_executable(zelko_win_tests ${ZK_WIN_TESTS} ${CMAKE_SOURCE_DIR}/tests/e2e/driver_win32.cpp
                                   ${ZK_RESOURCES})
    target_include_directories(zelko_win_tests PRIVATE ${CMAKE_SOURCE_DIR}/app)
    target_link_libraries(zelko_win_tests PRIVATE zelko_win32 gtest gtest_main)
    target_compile_options(zelko_win_tests PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${ZK_WARNINGS}>)
    target_link_options(zelko_win_tests PRIVATE ${ZK_STATIC_RUNTIME})
    target_compile_definitions(zelko_win_tests PRIVATE ZK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endif()

  # The end-to-end driver: a console program that starts Zelkovane.exe
  # (env ZK_EXE) and drives it through its real windows.
  file(GLOB ZK_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_win32.cpp)
  if(ZK_E2E_SOURCES)
    add_executable(zelko_e2e ${ZK_E2E_SOURCES})
    target_link_libraries(zelko_e2e PRIVATE zelko_win32 gtest gtest_main ${ZK_WIN32_LIBS})
    target_compile_options(zelko_e2e PRIVATE ${ZK_WARNINGS})
    target_link_options(zelko_e2e PRIVATE ${ZK_STATIC_RUNTIME})

    # The sample pictures (the postcard background of the screenshots),
    # drawn by the script that also seeds `make run`'s data folder.
    find_package(Python3 COMPONENTS Interpreter QUIET)
    if(Python3_Interpreter_FOUND)
      set(ZK_SAMPLE_DIR ${CMAKE_BINARY_DIR}/samples)
      add_custom_command(
        OUTPUT ${ZK_SAMPLE_DIR}/base1.bmp ${ZK_SAMPLE_DIR}/yousi.gdt
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make_sample_images.py ${ZK_SAMPLE_DIR}
        DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make_sample_images.py
        COMMENT "Drawing the sample pictures")
      add_custom_target(zelko_sample_images DEPENDS ${ZK_SAMPLE_DIR}/base1.bmp ${ZK_SAMPLE_DIR}/yousi.gdt)
      add_dependencies(zelko_e2e zelko_sample_images)
      target_compile_definitions(zelko_e2e PRIVATE ZK_SAMPLE_IMAGES="${ZK_SAMPLE_DIR}")
    endif()

    # The readers' fuzz corpora, from which the robustness run makes data
    # files.
    target_compile_definitions(zelko_e2e PRIVATE ZK_FUZZ_CORPUS="${CMAKE_SOURCE_DIR}/tests/fuzz/corpus")
  endif()

  # The print benchmark: the program's print job beside plain GDI calls
  # (scripts/print_bench.sh), driving the program with the end-to-end driver.
  add_executable(zelko_print_bench ${CMAKE_SOURCE_DIR}/tests/print_bench/print_bench_win32.cpp
                                   ${CMAKE_SOURCE_DIR}/tests/e2e/driver_win32.cpp)
  target_link_libraries(zelko_print_bench PRIVATE zelko_core ${ZK_WIN32_LIBS})
  target_compile_options(zelko_print_bench PRIVATE ${ZK_WARNINGS})
  target_link_options(zelko_print_bench PRIVATE -municode ${ZK_STATIC_RUNTIME})
else()
  message(WARNING "GoogleTest sources not found in ${ZK_GTEST_SOURCE}: "
                  "zelko_win_tests and zelko_e2e are not built")
endif()

# Helper programs for preparing the Wine prefix (test printer and the like).
include(${CMAKE_SOURCE_DIR}/cmake/tools.cmake OPTIONAL)

# The postal code table goes into the program's resources (and so into the
# Windows tests' too); the resource script finds it through the include path.
include(${CMAKE_SOURCE_DIR}/cmake/postal.cmake)
set_property(SOURCE ${ZK_RESOURCES} APPEND PROPERTY OBJECT_DEPENDS
  ${ZK_POSTAL_TABLE} ${CMAKE_SOURCE_DIR}/postal/postal_code_ids.h)
foreach(target Zelkovane zelko_win_tests)
  if(TARGET ${target})
    add_dependencies(${target} zelko_postal_data)
    target_include_directories(${target} PRIVATE ${ZK_POSTAL_DIR})
  endif()
endforeach()
