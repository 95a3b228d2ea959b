# The postal code table built into the program: scripts/postal_data.py takes
# the rows of the pinned npm package jquery-jpostal-ja and runs the host
# program postal_table_tool over them, which builds the table with the
# program's own rules (postal/postal_table_builder.cpp, the same that the
# command "郵便番号データの更新" applies to Japan Post's files). The script
# runs at every build but returns at once when the table is there; it writes
# an empty table (and says why) when the package cannot be had, so that
# everything still builds, without the lookup.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(ZK_POSTAL_DIR ${CMAKE_BINARY_DIR}/postal)
set(ZK_POSTAL_TABLE ${ZK_POSTAL_DIR}/postal_codes.bin)
# Built for the machine that builds, also in the Windows build.
find_program(ZK_HOST_CXX NAMES g++ c++ REQUIRED)
set(ZK_POSTAL_TOOL ${ZK_POSTAL_DIR}/postal_table_tool)
set(ZK_POSTAL_TOOL_SOURCES
  ${CMAKE_SOURCE_DIR}/tools/postal_table_tool.cpp
  ${CMAKE_SOURCE_DIR}/postal/postal_table_builder.cpp
  ${CMAKE_SOURCE_DIR}/exchange/csv_decode.cpp
  ${CMAKE_SOURCE_DIR}/platform/platform.cpp)
add_custom_command(
  OUTPUT ${ZK_POSTAL_TOOL}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZK_POSTAL_DIR}
  COMMAND ${ZK_HOST_CXX} -std=c++17 -O2 -I${CMAKE_SOURCE_DIR} ${ZK_POSTAL_TOOL_SOURCES} -o ${ZK_POSTAL_TOOL}
  DEPENDS ${ZK_POSTAL_TOOL_SOURCES}
          ${CMAKE_SOURCE_DIR}/postal/postal_table_builder.h ${CMAKE_SOURCE_DIR}/exchange/csv_decode.h
  COMMENT "Postal code table tool (host program)"
  VERBATIM)
add_custom_target(zelko_postal_data
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/postal_data.py fetch ${ZK_POSTAL_DIR} ${ZK_POSTAL_TOOL}
  DEPENDS ${ZK_POSTAL_TOOL}
  BYPRODUCTS ${ZK_POSTAL_TABLE}
  COMMENT "Postal code data"
  VERBATIM)
