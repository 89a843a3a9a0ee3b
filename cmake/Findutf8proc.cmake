# Finds utf8proc (Debian: libutf8proc-dev) and names it utf8proc::utf8proc,
# the name utf8proc's own CMake package gives it. Installed with the CMake
# package of OrvikFILE, whose static libraries need it at the host's link.
# The cache keeps the header and the library themselves, so that the
# packages that own them can be told (tests/packages).
find_file(utf8proc_HEADER utf8proc.h)
find_library(utf8proc_LIBRARY utf8proc)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(utf8proc
  REQUIRED_VARS utf8proc_LIBRARY utf8proc_HEADER
  REASON_FAILURE_MESSAGE "install libutf8proc-dev (scripts/install-deps.sh build)")
mark_as_advanced(utf8proc_HEADER utf8proc_LIBRARY)
if(utf8proc_FOUND AND NOT TARGET utf8proc::utf8proc)
  get_filename_component(utf8proc_INCLUDE_DIR "${utf8proc_HEADER}" DIRECTORY)
  add_library(utf8proc::utf8proc UNKNOWN IMPORTED GLOBAL)
  set_target_properties(utf8proc::utf8proc PROPERTIES
    IMPORTED_LOCATION "${utf8proc_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${utf8proc_INCLUDE_DIR}")
endif()
