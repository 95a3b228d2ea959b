# Fuzz build (clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer): one executable per target in tests/fuzz.
set(ZK_SANITIZE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
target_compile_options(zelko_core PRIVATE ${ZK_SANITIZE} -g)
add_library(zelko_test_support STATIC ${ZK_TEST_SUPPORT})
target_link_libraries(zelko_test_support PUBLIC zelko_core)
target_compile_options(zelko_test_support PRIVATE ${ZK_SANITIZE} -g)

file(GLOB ZK_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(src ${ZK_FUZZERS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -g)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE zelko_test_support)
  target_compile_definitions(${name} PRIVATE ZK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endforeach()
