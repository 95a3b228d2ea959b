# Native build (g++ on Linux): the core's unit tests and benchmarks.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

add_library(zelko_test_support STATIC ${ZK_TEST_SUPPORT})
target_link_libraries(zelko_test_support PUBLIC zelko_core)
target_compile_options(zelko_test_support PRIVATE ${ZK_WARNINGS})

file(GLOB_RECURSE ZK_NATIVE_TESTS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/model/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/files/*_test.cpp
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
