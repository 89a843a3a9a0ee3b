# The ABI of the shared libraries, held to the baseline in abi/ by libabigail
# (OrvikAbiRun.cmake; how and when the baseline changes: README.md, "The ABI").
#
#   cmake --build <dir> --target abi-baseline   writes abi/*.abi anew
#   ctest --test-dir <dir> -L abi               compares the build with it
#
# Both read the debug information of a build that has it (-g), so they are
# set up in such a build of shared libraries only. The test is left out under
# sanitizers: their builds run the same suite, and one comparison is enough.
get_target_property(orvik_abi_type OrvikFILE_Lib TYPE)
if(NOT orvik_abi_type STREQUAL "SHARED_LIBRARY")
  return()
endif()
if(NOT CMAKE_BUILD_TYPE MATCHES "^(Debug|RelWithDebInfo)$")
  message(STATUS "ABI check: left out, a ${CMAKE_BUILD_TYPE} build has no debug information")
  return()
endif()

set(orvik_abi_libraries "")
foreach(library IN LISTS ORVIK_LIBRARIES)
  list(APPEND orvik_abi_libraries $<TARGET_FILE:${library}>)
endforeach()
# Lists reach the script whole, as one argument each.
string(REPLACE ";" "$<SEMICOLON>" orvik_abi_libraries "${orvik_abi_libraries}")
set(orvik_abi_args
  -DLIBRARIES=${orvik_abi_libraries}
  -DHEADER_DIRS=${PROJECT_SOURCE_DIR}/include$<SEMICOLON>${ORVIK_GENERATED_INCLUDE_DIR}
  -DBASELINE_DIR=${PROJECT_SOURCE_DIR}/abi
  -DWORK_DIR=${PROJECT_BINARY_DIR}/abi)

add_custom_target(abi-baseline
  COMMAND ${CMAKE_COMMAND} -DMODE=baseline ${orvik_abi_args}
          -P ${CMAKE_CURRENT_LIST_DIR}/OrvikAbiRun.cmake
  DEPENDS ${ORVIK_LIBRARIES}
  COMMENT "Writing the ABI baseline of the shared libraries to abi/"
  VERBATIM)

if(ORVIK_BUILD_TESTS AND NOT ORVIK_SANITIZERS)
  add_test(NAME abi_matches_baseline
    COMMAND ${CMAKE_COMMAND} -DMODE=check ${orvik_abi_args}
            -P ${CMAKE_CURRENT_LIST_DIR}/OrvikAbiRun.cmake)
  set_tests_properties(abi_matches_baseline PROPERTIES
    LABELS abi SKIP_REGULAR_EXPRESSION "the ABI check is skipped")
endif()
