# The version lives in project(VERSION) alone: the generated header
# OrvikFILE_Version.h, the SONAME, the CMake and pkg-config packages, the
# Debian packages and `orvikfile --version` all take it from there.
set(ORVIK_GENERATED_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)
configure_file(${CMAKE_CURRENT_LIST_DIR}/OrvikFILE_Version.h.in
               ${ORVIK_GENERATED_INCLUDE_DIR}/OrvikFILE_Version.h @ONLY)
