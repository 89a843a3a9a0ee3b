# What Debian asks of every binary package, made from LICENSE and the
# version: /usr/share/doc/<package>/copyright (the machine-readable format)
# and, the version having no Debian revision (a native package),
# /usr/share/doc/<package>/changelog.gz. Compressed with gzip -9n (no name,
# no time stamp), so that the same sources give the same packages.
# Included by OrvikPackaging.cmake once the package names are set.

set(ORVIK_DEB_SOURCE orvikfile)
set(ORVIK_DEB_DIR ${PROJECT_BINARY_DIR}/debian)

file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]*)\n\n(.*)$")
  message(FATAL_ERROR "LICENSE: no \"Copyright (c)\" line before the license text")
endif()
set(holder "${CMAKE_MATCH_1}")
# The license text as a field's continuation lines: each line indented, an
# empty line written as " .".
string(REGEX REPLACE "\n+$" "" text "${CMAKE_MATCH_2}")
string(REPLACE "\n\n" "\n.\n" text "${text}")
string(REPLACE "\n" "\n " text " ${text}")
file(WRITE ${ORVIK_DEB_DIR}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: OrvikFILE_Lib
Source: ${CPACK_DEBIAN_PACKAGE_HOMEPAGE}

Files: *
Copyright: ${holder}
License: Expat
${text}
")

# SOURCE_DATE_EPOCH, when set, fixes the entry's date.
string(TIMESTAMP ORVIK_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${ORVIK_DEB_DIR}/changelog @ONLY)
execute_process(COMMAND gzip -9n -c ${ORVIK_DEB_DIR}/changelog
  OUTPUT_FILE ${ORVIK_DEB_DIR}/changelog.gz RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip of the Debian change log failed: ${status}")
endif()

foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} upper)
  install(FILES ${ORVIK_DEB_DIR}/copyright ${ORVIK_DEB_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}
    COMPONENT ${component})
endforeach()
