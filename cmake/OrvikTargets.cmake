include(GNUInstallDirs)

# The folder browser module's private directory in an install, relative to
# the prefix: the install rule and OrvikAfx, which looks there, both use it.
set(ORVIK_MODULE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/orvikfile)

# The libraries a host links: installed, and held to their ABI baseline
# (OrvikAbi.cmake).
set(ORVIK_LIBRARIES OrvikGEN_Lib OrvikMSG_Lib OrvikSTR_Lib OrvikAfx OrvikFILE_Lib)

# The warnings that every target of the project builds with, beyond -Wall
# -Wextra: no silent narrowing or sign change between the 32-bit values of
# the interface and the sizes of the standard library, no shadowed names,
# no C-style casts, standard C++ only.
set(ORVIK_STRICT_WARNINGS
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast)

# Settings that every target of this project shares.
function(orvik_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  # An explicit -std flag, also where it is the compiler's default, so that
  # tools reading compile_commands.json (clang-tidy) parse C++17 too.
  set_target_properties(${target} PROPERTIES
    CXX_STANDARD 17
    CXX_STANDARD_REQUIRED ON
    CXX_EXTENSIONS OFF
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    POSITION_INDEPENDENT_CODE ON)
  target_compile_options(${target} PRIVATE
    ${ORVIK_STRICT_WARNINGS} $<$<BOOL:${ORVIK_WERROR}>:-Werror>)
  # Private on both sides: each target of the project is compiled and linked
  # with the sanitizers by these defaults, and nothing of them is exported to
  # a host through an installed target's link interface.
  if(ORVIK_SANITIZERS)
    target_compile_options(${target} PRIVATE
      -fsanitize=${ORVIK_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=${ORVIK_SANITIZERS})
  endif()
endfunction()

# A library of this project: versioned, with include/ (and the generated
# version header) as its public include path, and known by the same OrvikFILE:: name in a host's tree as after
# installation. Shared unless the build asks for static libraries with
# BUILD_SHARED_LIBS=OFF.
function(orvik_add_library target)
  if(DEFINED BUILD_SHARED_LIBS AND NOT BUILD_SHARED_LIBS)
    add_library(${target} STATIC ${ARGN})
  else()
    add_library(${target} SHARED ${ARGN})
  endif()
  add_library(OrvikFILE::${target} ALIAS ${target})
  orvik_target_defaults(${target})
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
    $<BUILD_INTERFACE:${ORVIK_GENERATED_INCLUDE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
  # Every shared library names libc, also one that calls nothing of it but
  # the unload hook __cxa_finalize (OrvikGEN_Lib, a thread_local alone),
  # which an as-needed link would leave unnamed: a library links what it
  # uses. (No effect on a static library.)
  target_link_options(${target} PRIVATE "LINKER:--push-state,--no-as-needed,-lc,--pop-state")
endfunction()

# `target`'s own object files as a static library that is never installed,
# named ${target}_static, linking what `target` links (ARGN). Tests and fuzz
# targets link it to reach the seams that the installed shared library keeps
# to itself (the table of system calls), without compiling anything twice.
# In a static build, it is `target` itself.
function(orvik_add_static_twin target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    add_library(${target}_static ALIAS ${target})
    return()
  endif()
  add_library(${target}_static STATIC $<TARGET_OBJECTS:${target}>)
  orvik_target_defaults(${target}_static)
  target_include_directories(${target}_static PUBLIC
    $<TARGET_PROPERTY:${target},INTERFACE_INCLUDE_DIRECTORIES>)
  target_link_libraries(${target}_static PUBLIC ${ARGN})
endfunction()
