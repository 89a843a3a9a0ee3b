# Debian packages (`cpack -G DEB` in a build configured with
# -DCMAKE_INSTALL_PREFIX=/usr), one per install component:
#
#   liborvikfile-lib1   the shared libraries (runtime), named after the
#                       SONAME of libOrvikFILE_Lib, as Debian names a
#                       package of libraries whose SONAMEs change together
#   liborvikfile-dev    headers, static libraries when built so, the CMake
#                       package, the pkg-config file, the API reference
#   liborvikfile-gtk    the GTK folder browser module (browser), in the
#                       private directory <libdir>/orvikfile (no SONAME, so
#                       no version in the name)
#   orvikfile           the program and its manual page (tools)
#
# Dependencies on system libraries come from dpkg-shlibdeps; the packages'
# dependencies on each other are stated here, at the exact version, since they
# are built and shipped together. scripts/package-test.sh runs lintian on them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvikfile)
set(CPACK_PACKAGE_VENDOR "The OrvikFILE_Lib developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "File utilities that report by message texts and return codes (MIT license)")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development tools)
if(TARGET OrvikAfxGtk)
  list(APPEND CPACK_COMPONENTS_ALL browser)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "OrvikFILE_Lib developers <orvikfile@orvikfile.invalid>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://invalid/orvikfile")
# Debug information stays out of the packages.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds the project's own libraries in the build tree; their
# packages are named explicitly below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/src)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(ORVIK_RUNTIME_PACKAGE liborvikfile-lib${PROJECT_VERSION_MAJOR})
set(ORVIK_EXACT "(= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${ORVIK_RUNTIME_PACKAGE})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# (Descriptions: lines of at most 80 characters.)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "OrvikFILE_Lib and the libraries it rests on (OrvikAfx, OrvikGEN_Lib,\nOrvikMSG_Lib, OrvikSTR_Lib). MIT license.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME liborvikfile-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${ORVIK_RUNTIME_PACKAGE} ${ORVIK_EXACT}")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
    "Headers (C and the C++ layer OrvikFILE.hpp), CMake package, pkg-config file\nand API reference of OrvikFILE_Lib. MIT license.")

set(CPACK_DEBIAN_BROWSER_PACKAGE_NAME liborvikfile-gtk)
set(CPACK_DEBIAN_BROWSER_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_BROWSER_PACKAGE_DEPENDS "${ORVIK_RUNTIME_PACKAGE} ${ORVIK_EXACT}")
set(CPACK_COMPONENT_BROWSER_DESCRIPTION
    "The GTK 3 folder browser module of OrvikFILE_Lib, loaded by FILE_ChoosePath.\nMIT license.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME orvikfile)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "${ORVIK_RUNTIME_PACKAGE} ${ORVIK_EXACT}")
set(CPACK_DEBIAN_TOOLS_PACKAGE_RECOMMENDS "${CPACK_DEBIAN_BROWSER_PACKAGE_NAME} ${ORVIK_EXACT}")
set(CPACK_COMPONENT_TOOLS_DESCRIPTION
    "orvikfile: the OrvikFILE_Lib calls from a shell. MIT license.")

if(ORVIK_INSTALL)
  include(${CMAKE_CURRENT_LIST_DIR}/OrvikDebianDocs.cmake)
endif()
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/ldconfig_trigger.cmake)
include(CPack)
