# Installs the build into a fresh prefix and builds the example host against
# it twice, through find_package(OrvikFILE) and through pkg-config, then runs
# the host and the installed orvikfile.
#
# Variables: BUILD_DIR (the build to install), HOST_SOURCE (examples/host),
# WORK_DIR (scratch, emptied first), CXX (the compiler), GENERATOR, and
# SANITIZERS (the build's sanitizers, empty for none: a host of sanitized
# libraries links their runtime too), BROWSER_MODULE (1 when the build has the
# folder browser module).
cmake_minimum_required(VERSION 3.20)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

function(expect_output what pattern)
  if(NOT run_output MATCHES "${pattern}")
    message(FATAL_ERROR "${what}: expected '${pattern}' in:\n${run_output}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/scratch)
set(prefix ${WORK_DIR}/prefix)

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(library OrvikFILE_Lib OrvikAfx OrvikGEN_Lib OrvikMSG_Lib OrvikSTR_Lib)
  file(GLOB soname_link ${prefix}/lib*/lib${library}.so.1)
  if(NOT soname_link)
    message(FATAL_ERROR "lib${library}.so.1 is not installed")
  endif()
endforeach()

# No test hook reaches a host. The seams that tests substitute through (the
# table of system calls in src/afx/system_calls.h, the scripted browser)
# live in headers that are never installed, and the libraries export none
# of their symbols, nor any other of the internal namespace orvik::afx.
set(test_hooks "ForTesting|SystemCalls|InstallBrowser|InstallAllocator|system_calls\\.h|scripted_browser|orvik::afx::")
file(GLOB_RECURSE headers ${prefix}/include/*)
foreach(header IN LISTS headers)
  file(STRINGS ${header} hooks REGEX "${test_hooks}")
  if(hooks)
    message(FATAL_ERROR "${header} names a test hook: ${hooks}")
  endif()
endforeach()
file(GLOB libraries ${prefix}/lib*/lib*.so.1 ${prefix}/lib*/orvikfile/*.so)
foreach(library IN LISTS libraries)
  run(nm -D -C --defined-only ${library})
  string(REGEX MATCHALL "[^\n]*(${test_hooks})[^\n]*" hooks "${run_output}")
  if(hooks)
    message(FATAL_ERROR "${library} exports a test hook: ${hooks}")
  endif()
endforeach()

# The installed program finds its libraries by its RPATH alone.
run(${prefix}/bin/orvikfile --version)
expect_output("installed orvikfile" "^orvikfile [0-9]+\\.[0-9]+\\.[0-9]+")
if(BROWSER_MODULE)
  # ... and the browser module in its private directory <libdir>/orvikfile/,
  # in the tree it was moved to: without a display, the module's own reason
  # is what it reports.
  file(GLOB module ${prefix}/lib*/orvikfile/libOrvikAfxGtk.so)
  if(NOT module)
    message(FATAL_ERROR "libOrvikAfxGtk.so is not installed in <libdir>/orvikfile/")
  endif()
  execute_process(COMMAND env -u DISPLAY -u WAYLAND_DISPLAY ${prefix}/bin/orvikfile choose-dir
                  OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE ignored)
  if(NOT err MATCHES "no display")
    message(FATAL_ERROR "the installed orvikfile did not load the browser module: ${err}")
  endif()
endif()

# find_package(OrvikFILE). The installed targets export no sanitizer flag:
# a host of sanitized libraries asks for their runtime itself.
set(host_link_flags "")
if(SANITIZERS)
  set(host_link_flags -fsanitize=${SANITIZERS})
endif()
run(${CMAKE_COMMAND} -S ${HOST_SOURCE} -B ${WORK_DIR}/host-build -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_EXE_LINKER_FLAGS=${host_link_flags})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/host-build)
file(GLOB exported_targets ${prefix}/lib*/cmake/OrvikFILE/OrvikFILETargets.cmake)
file(READ ${exported_targets} exported)
if(exported MATCHES "fsanitize")
  message(FATAL_ERROR "the installed targets export a sanitizer flag")
endif()
run(${WORK_DIR}/host-build/orvik_host ${WORK_DIR}/scratch)
expect_output("host through find_package" "record 0: first\nrecord 1: second\nhost: ok")

# pkg-config, when it is there.
find_program(PKG_CONFIG NAMES pkg-config pkgconf)
if(PKG_CONFIG)
  file(GLOB pc_dir ${prefix}/lib*/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} ${pc_dir})
  run(${PKG_CONFIG} --cflags --libs orvikfile)
  separate_arguments(flags UNIX_COMMAND "${run_output}")
  if(SANITIZERS)
    list(APPEND flags -fsanitize=${SANITIZERS})
  endif()
  run(${CXX} -std=c++17 ${HOST_SOURCE}/main.cpp ${flags} -o ${WORK_DIR}/host-pc)
  file(GLOB lib_dir ${prefix}/lib*/libOrvikFILE_Lib.so)
  get_filename_component(lib_dir ${lib_dir} DIRECTORY)
  set(ENV{LD_LIBRARY_PATH} ${lib_dir})
  run(${WORK_DIR}/host-pc ${WORK_DIR}/scratch)
  expect_output("host through pkg-config" "host: ok")
else()
  message(STATUS "pkg-config not found: the pkg-config build is left out")
endif()
