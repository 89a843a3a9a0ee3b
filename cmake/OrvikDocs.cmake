# The API reference (`cmake --build <dir> --target docs`): Doxygen over the
# public headers, the porting guide (its main page) and the README, into
# <build>/docs/html, installed under share/doc/OrvikFILE/html when it was
# built. Doxygen stops on its first warning, so an undocumented exported
# function fails the target.
find_package(Doxygen QUIET)
if(DOXYGEN_FOUND)  # Python only serves the reference here
  find_package(Python3 QUIET COMPONENTS Interpreter)
endif()
if(NOT DOXYGEN_FOUND OR NOT Python3_FOUND)
  message(STATUS "Doxygen or Python 3 not found: no docs target")
  return()
endif()
# The named codes are made by X-macros, which Doxygen does not expand: a
# filter writes them out for it, each with its text.
set(ORVIK_DOCS_CODES_FILTER "${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/doxygen_codes_filter.py")

set(ORVIK_DOCS_DIR ${PROJECT_BINARY_DIR}/docs)
# Every header that is installed (all of include/) is in the reference.
file(GLOB ORVIK_DOCS_HEADERS CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/include/*.h ${PROJECT_SOURCE_DIR}/include/*.hpp)
list(APPEND ORVIK_DOCS_HEADERS ${ORVIK_GENERATED_INCLUDE_DIR}/OrvikFILE_Version.h)
list(JOIN ORVIK_DOCS_HEADERS " " ORVIK_DOCS_INPUT)
string(APPEND ORVIK_DOCS_INPUT " ${PROJECT_SOURCE_DIR}/docs/porting.md ${PROJECT_SOURCE_DIR}/README.md")
configure_file(${CMAKE_CURRENT_LIST_DIR}/Doxyfile.in ${ORVIK_DOCS_DIR}/Doxyfile @ONLY)

add_custom_command(
  OUTPUT ${ORVIK_DOCS_DIR}/html/index.html
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${ORVIK_DOCS_DIR}/html
  COMMAND Doxygen::doxygen ${ORVIK_DOCS_DIR}/Doxyfile
  DEPENDS ${ORVIK_DOCS_HEADERS} ${PROJECT_SOURCE_DIR}/docs/porting.md ${PROJECT_SOURCE_DIR}/README.md
          ${ORVIK_DOCS_DIR}/Doxyfile
          ${CMAKE_CURRENT_LIST_DIR}/doxygen_codes_filter.py
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Doxygen: the API reference"
  VERBATIM)
add_custom_target(docs DEPENDS ${ORVIK_DOCS_DIR}/html/index.html)
