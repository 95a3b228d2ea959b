# The postal code table built into the program, made by
# scripts/postal_data.py from the pinned npm package jquery-jpostal-ja. The
# script runs at every build but returns at once when the table is there; it
# writes an empty table (and says why) when the package cannot be had, so
# that everything still builds, without the lookup.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(ZK_POSTAL_DIR ${CMAKE_BINARY_DIR}/postal)
set(ZK_POSTAL_TABLE ${ZK_POSTAL_DIR}/postal_codes.bin)
add_custom_target(zelko_postal_data
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/postal_data.py fetch ${ZK_POSTAL_DIR}
  BYPRODUCTS ${ZK_POSTAL_TABLE}
  COMMENT "Postal code data"
  VERBATIM)
