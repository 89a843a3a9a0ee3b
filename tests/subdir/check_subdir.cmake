# Configures, builds and runs tests/subdir, a host that takes this project
# in with add_subdirectory().
#
# Variables: ORVIK_SOURCE (this project's source), HOST_SOURCE (tests/subdir),
# WORK_DIR (scratch, emptied first), CXX, GENERATOR. The parent builds the
# libraries plainly: what is checked here is how it finds and links them.
cmake_minimum_required(VERSION 3.20)

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${HOST_SOURCE} -B ${WORK_DIR} -G ${GENERATOR}
                        -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Debug
                        -DORVIK_SOURCE=${ORVIK_SOURCE} -DORVIK_GTK_BROWSER=OFF
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${WORK_DIR}/subdir_host OUTPUT_VARIABLE output COMMAND_ERROR_IS_FATAL ANY)
if(NOT output MATCHES "subdir host: ok")
  message(FATAL_ERROR "the subdirectory host: ${output}")
endif()
