# Run by CPack once it has made the packages (CPACK_POST_BUILD_SCRIPTS).
# CPack's Debian generator calls ldconfig from postinst and postrm scripts
# of a package with shared libraries in the library directory; Debian asks
# for dpkg's ldconfig trigger instead, which runs ldconfig once for all the
# packages installed together. Each such package is made again so: its
# generated scripts removed (they do nothing else), a triggers file added.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(tree ${deb}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb -R ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  if(EXISTS ${tree}/DEBIAN/postinst)
    foreach(script postinst postrm)
      file(READ ${tree}/DEBIAN/${script} text)
      string(REGEX REPLACE "#[^\n]*|set -e|if \\[ \"\\$1\" = \"[a-z]+\" \\]; then|ldconfig|fi|[ \t\n]" ""
             rest "${text}")
      if(NOT rest STREQUAL "")
        message(FATAL_ERROR "${deb}: ${script} does more than ldconfig:\n${text}")
      endif()
      file(REMOVE ${tree}/DEBIAN/${script})
    endforeach()
    file(WRITE ${tree}/DEBIAN/triggers "activate-noawait ldconfig\n")
    execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${deb}
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE ${tree})
endforeach()
