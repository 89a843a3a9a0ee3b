# The ABI of the installed shared libraries, as libabigail sees it: only the
# types and functions that the public headers declare count.
#
#   MODE=check     compares each library with its baseline abi/<library>.abi
#                  and fails on any change but added functions and variables
#   MODE=baseline  writes the baselines anew (the abi-baseline target)
#
# Variables: MODE, LIBRARIES (the shared libraries' files), HEADER_DIRS (the
# directories of the public headers, as installed), BASELINE_DIR, WORK_DIR.
cmake_minimum_required(VERSION 3.20)

find_program(ABIDW abidw)
find_program(ABIDIFF abidiff)
if(NOT ABIDW OR NOT ABIDIFF)
  # Matched by the test's SKIP_REGULAR_EXPRESSION.
  message("abidw or abidiff not found: the ABI check is skipped (install abigail-tools)")
  if(MODE STREQUAL "baseline")
    message(FATAL_ERROR "the baseline needs abidw (abigail-tools)")
  endif()
  return()
endif()

set(header_options "")
foreach(dir IN LISTS HEADER_DIRS)
  list(APPEND header_options --headers-dir ${dir})
endforeach()

# Writes the ABI of `library` to `file`: no build paths and no header lines
# in it, so that a baseline made in one tree compares with a build in
# another, and an edit of a header's comments leaves the baseline as it was.
function(dump library file)
  execute_process(
    COMMAND ${ABIDW} ${header_options} --drop-private-types --exported-interfaces-only
            --no-corpus-path --no-comp-dir-path --no-show-locs --out-file ${file} ${library}
    RESULT_VARIABLE failed ERROR_VARIABLE err)
  if(failed)
    message(FATAL_ERROR "abidw failed on ${library}: ${err}")
  endif()
  # Without debug information abidw sees the symbols alone, and a changed
  # class layout would pass unseen.
  file(STRINGS ${file} units REGEX "<abi-instr ")
  if(NOT units)
    message(FATAL_ERROR "${library} has no debug information: build with -g "
                        "(CMAKE_BUILD_TYPE Debug or RelWithDebInfo)")
  endif()
endfunction()

file(MAKE_DIRECTORY ${WORK_DIR})
set(incompatible "")
foreach(library IN LISTS LIBRARIES)
  # libOrvikFILE_Lib.so.1.0.0 -> OrvikFILE_Lib
  get_filename_component(name ${library} NAME)
  string(REGEX REPLACE "^lib([^.]+)\\.so.*$" "\\1" name ${name})
  if(MODE STREQUAL "baseline")
    dump(${library} ${BASELINE_DIR}/${name}.abi)
    message(STATUS "baseline written: ${BASELINE_DIR}/${name}.abi")
    continue()
  endif()
  set(baseline ${BASELINE_DIR}/${name}.abi)
  if(NOT EXISTS ${baseline})
    message(FATAL_ERROR "no ABI baseline for ${name}: ${baseline}")
  endif()
  dump(${library} ${WORK_DIR}/${name}.abi)
  # A host built against the baseline still links and runs when nothing
  # was removed or changed; an addition is reported and allowed.
  execute_process(
    COMMAND ${ABIDIFF} --no-added-syms ${baseline} ${WORK_DIR}/${name}.abi
    RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE err)
  if(status EQUAL 0)
    execute_process(COMMAND ${ABIDIFF} ${baseline} ${WORK_DIR}/${name}.abi OUTPUT_VARIABLE added)
    if(added)
      message(STATUS "${name}: compatible, with additions:\n${added}")
    else()
      message(STATUS "${name}: the same ABI as the baseline")
    endif()
  else()
    message("${name}: the ABI differs from its baseline (abidiff status ${status}):\n${report}${err}")
    list(APPEND incompatible ${name})
  endif()
endforeach()
if(incompatible)
  message(FATAL_ERROR
    "ABI changed in: ${incompatible}. A host built against SONAME 1 would break; "
    "keep the change compatible, or see \"The ABI\" in README.md")
endif()
