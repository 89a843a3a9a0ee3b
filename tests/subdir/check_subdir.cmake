# Configures, builds and runs tests/subdir, a host that takes this project
# in with add_subdirectory().
#
# Variables: ORVIK_SOURCE (this project's source), HOST_SOURCE (tests/subdir),
# WORK_DIR (scratch, emptied first), CXX, GENERATOR, BROWSER_MODULE (1 when
# GTK is there to build the folder browser module). The parent builds the
# libraries statically, the hardest case for finding the module: the host's
# program holds OrvikAfx, and the module lies elsewhere in the build tree.
cmake_minimum_required(VERSION 3.20)

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${HOST_SOURCE} -B ${WORK_DIR} -G ${GENERATOR}
                        -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Debug
                        -DORVIK_SOURCE=${ORVIK_SOURCE} -DBUILD_SHARED_LIBS=OFF
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${WORK_DIR}/subdir_host OUTPUT_VARIABLE output COMMAND_ERROR_IS_FATAL ANY)
if(NOT output MATCHES "subdir host: ok")
  message(FATAL_ERROR "the subdirectory host: ${output}")
endif()
if(BROWSER_MODULE AND NOT output MATCHES "browser: 0 ")
  message(FATAL_ERROR "the subdirectory host found no folder browser module: ${output}")
endif()
