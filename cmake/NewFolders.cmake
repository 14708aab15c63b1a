# Run at install time, before anything is put in place: writes to RECORD
# the folders among FOLDERS (relative to the install prefix), and those
# above them, that do not exist yet. Uninstall.cmake removes those it finds
# empty, and no folder that was there before the install. An install again
# over the same one keeps what the first recorded.
set(new "")
if(EXISTS "${RECORD}")
  file(STRINGS "${RECORD}" new)
endif()
foreach(folder IN LISTS FOLDERS)
  set(path "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${folder}")
  while(NOT EXISTS "${path}")
    list(APPEND new "${path}")
    get_filename_component(path "${path}" DIRECTORY)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES new)
list(JOIN new "\n" lines)
file(WRITE "${RECORD}" "${lines}\n")
