# Fails when ldd shows GTK, GDK or GLib among the libraries that each of
# LIBRARIES needs: the folder browser's module alone may take them in.
foreach(library IN LISTS LIBRARIES)
  execute_process(COMMAND ldd ${library} OUTPUT_VARIABLE needed RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "ldd failed on ${library}")
  endif()
  if(needed MATCHES "lib(gtk|gdk|glib|gobject|gio)-")
    message(FATAL_ERROR "${library} needs GTK:\n${needed}")
  endif()
  message(STATUS "${library}: no GTK")
endforeach()
