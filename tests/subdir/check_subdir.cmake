# Configures, builds and runs tests/subdir, a host that takes this project
# in with add_subdirectory().
#
# Variables: ORVIK_SOURCE (this project's source), HOST_SOURCE (tests/subdir),
# WORK_DIR (scratch, emptied first), CXX, GENERATOR. The parent builds the
# libraries plainly: what is checked here is how it finds and links them.
cmake_minimum_required(VERSION 3.20)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} -S ${HOST_SOURCE} -B ${WORK_DIR} -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Debug
    -DORVIK_SOURCE=${ORVIK_SOURCE}
    -DORVIK_GTK_BROWSER=OFF)
run(${CMAKE_COMMAND} --build ${WORK_DIR})
run(${WORK_DIR}/subdir_host)
if(NOT run_output MATCHES "subdir host: ok")
  message(FATAL_ERROR "the subdirectory host: ${run_output}")
endif()
