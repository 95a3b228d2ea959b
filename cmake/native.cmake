# Native build (g++ on Linux): the core's unit tests and benchmarks.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

add_library(zelko_test_support STATIC ${ZK_TEST_SUPPORT})
target_link_libraries(zelko_test_support PUBLIC zelko_core)
target_compile_options(zelko_test_support PRIVATE ${ZK_WARNINGS})

file(GLOB_RECURSE ZK_NATIVE_TESTS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/model/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/files/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/exchange/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/postal/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/render/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/app/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/print/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/editors/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/platform/*_test.cpp)
add_executable(zelko_tests ${ZK_NATIVE_TESTS})
target_link_libraries(zelko_tests PRIVATE zelko_test_support GTest::gtest_main Threads::Threads)
target_compile_options(zelko_tests PRIVATE ${ZK_WARNINGS})
target_compile_definitions(zelko_tests PRIVATE ZK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

find_package(benchmark QUIET)
file(GLOB ZK_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*.cpp)
if(benchmark_FOUND AND ZK_BENCHES)
  add_executable(zelko_bench ${ZK_BENCHES})
  target_link_libraries(zelko_bench PRIVATE zelko_test_support benchmark::benchmark Threads::Threads)
  target_compile_definitions(zelko_bench PRIVATE ZK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()

# The postal code table: the real one (a smoke test and the lookup
# benchmark) and one built by the same script and tool from the small fixture in
# tests/postal/postal_fixture.
include(${CMAKE_SOURCE_DIR}/cmake/postal.cmake)
set(ZK_POSTAL_FIXTURE_TABLE ${ZK_POSTAL_DIR}/fixture_codes.bin)
file(GLOB ZK_POSTAL_FIXTURE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/postal/postal_fixture/json/*.json)
add_custom_command(
  OUTPUT ${ZK_POSTAL_FIXTURE_TABLE}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/postal_data.py build
          ${CMAKE_SOURCE_DIR}/tests/postal/postal_fixture ${ZK_POSTAL_FIXTURE_TABLE} ${ZK_POSTAL_TOOL}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/postal_data.py ${ZK_POSTAL_FIXTURE_FILES} ${ZK_POSTAL_TOOL}
  COMMENT "Postal code table of the test fixture"
  VERBATIM)
add_custom_target(zelko_postal_fixture DEPENDS ${ZK_POSTAL_FIXTURE_TABLE})
foreach(target zelko_tests zelko_bench)
  if(TARGET ${target})
    add_dependencies(${target} zelko_postal_data zelko_postal_fixture)
    target_compile_definitions(${target} PRIVATE ZK_POSTAL_TABLE="${ZK_POSTAL_TABLE}"
                                                 ZK_POSTAL_FIXTURE_TABLE="${ZK_POSTAL_FIXTURE_TABLE}")
  endif()
endforeach()
