# Installation: the shared libraries with their SONAME links, the public
# headers, the orvikfile program and its manual page, a CMake package
# (find_package(OrvikFILE) gives the imported targets OrvikFILE::OrvikFILE_Lib,
# OrvikFILE::OrvikAfx, OrvikFILE::OrvikGEN_Lib, OrvikFILE::OrvikMSG_Lib,
# OrvikFILE::OrvikSTR_Lib and OrvikFILE::orvikfile) and a pkg-config file.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ORVIK_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/OrvikFILE)

# Installed programs and libraries find their siblings in the installed
# library directory, wherever the tree is moved to.
file(RELATIVE_PATH ORVIK_BIN_TO_LIB
     ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(${ORVIK_LIBRARIES} PROPERTIES INSTALL_RPATH "$ORIGIN")

# Static libraries (BUILD_SHARED_LIBS=OFF) are for building hosts only, so
# they go with the headers.
install(TARGETS ${ORVIK_LIBRARIES}
  EXPORT OrvikFILETargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development
  FILES_MATCHING PATTERN "*.h" PATTERN "*.hpp")
install(FILES ${ORVIK_GENERATED_INCLUDE_DIR}/OrvikFILE_Version.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)

# The README, the change log and the API reference (when the docs target has
# built it) go with the development files; every Debian package carries the
# license as its copyright file (OrvikDebianDocs.cmake).
set(ORVIK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/OrvikFILE)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
  DESTINATION ${ORVIK_DOC_DIR} COMPONENT development)
install(DIRECTORY ${PROJECT_BINARY_DIR}/docs/html
  DESTINATION ${ORVIK_DOC_DIR} COMPONENT development OPTIONAL)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${ORVIK_DOC_DIR}/examples COMPONENT development)

# The folder browser module, when it is built, goes into a private
# directory (ORVIK_MODULE_INSTALL_DIR), where OrvikAfx looks for it; it is
# loaded at run time, never linked, and links none of the project's
# libraries. A component of its own, so that a package without GTK is
# possible.
if(TARGET OrvikAfxGtk)
  install(TARGETS OrvikAfxGtk
    LIBRARY DESTINATION ${ORVIK_MODULE_INSTALL_DIR} COMPONENT browser)
endif()

if(TARGET orvikfile)
  set_target_properties(orvikfile PROPERTIES INSTALL_RPATH "$ORIGIN/${ORVIK_BIN_TO_LIB}")
  # An export set of its own: the development package's CMake files must
  # not require the program's package.
  install(TARGETS orvikfile EXPORT OrvikFILEToolTargets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
  install(FILES ${PROJECT_BINARY_DIR}/tools/orvikfile.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)
endif()

install(EXPORT OrvikFILETargets
  NAMESPACE OrvikFILE::
  DESTINATION ${ORVIK_PACKAGE_DIR} COMPONENT development)
if(TARGET orvikfile)
  install(EXPORT OrvikFILEToolTargets
    NAMESPACE OrvikFILE::
    DESTINATION ${ORVIK_PACKAGE_DIR} COMPONENT tools)
endif()
# Static libraries leave utf8proc to the host's link: the CMake package
# finds it with find_dependency; the .pc file requires libutf8proc.pc
# privately (pkg-config --static) and, since an install of static libraries
# is only ever linked statically, names -lutf8proc for a plain --libs too.
# A shared library's host needs neither.
if(DEFINED BUILD_SHARED_LIBS AND NOT BUILD_SHARED_LIBS)
  set(ORVIK_STATIC TRUE)
  set(ORVIK_PC_STATIC_LIBS " -lutf8proc")
  set(ORVIK_PC_REQUIRES_PRIVATE "Requires.private: libutf8proc")
else()
  set(ORVIK_STATIC FALSE)
  set(ORVIK_PC_STATIC_LIBS "")
  set(ORVIK_PC_REQUIRES_PRIVATE "")
endif()
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/OrvikFILEConfig.cmake.in
  ${PROJECT_BINARY_DIR}/OrvikFILEConfig.cmake
  INSTALL_DESTINATION ${ORVIK_PACKAGE_DIR})
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/OrvikFILEConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_SOURCE_DIR}/cmake/Findutf8proc.cmake
  ${PROJECT_BINARY_DIR}/OrvikFILEConfig.cmake
  ${PROJECT_BINARY_DIR}/OrvikFILEConfigVersion.cmake
  DESTINATION ${ORVIK_PACKAGE_DIR} COMPONENT development)

# The .pc file finds the prefix from its own place, so that
# `cmake --install --prefix` elsewhere than the configured prefix still gives
# a file that points at the tree it lies in.
file(RELATIVE_PATH ORVIK_PC_TO_PREFIX
     ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ORVIK_PC_TO_PREFIX "${ORVIK_PC_TO_PREFIX}")
set(ORVIK_PC_PREFIX "\${pcfiledir}/${ORVIK_PC_TO_PREFIX}")
file(RELATIVE_PATH ORVIK_PC_LIBDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH ORVIK_PC_INCLUDEDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_INCLUDEDIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvikfile.pc.in ${PROJECT_BINARY_DIR}/orvikfile.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/orvikfile.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
