# Run by cpack before it builds a package. A Debian package whose
# dependencies could not be computed would install and then fail to run:
# refuse to build one. CPack's own lookups only warn and leave Depends out.
if(CPACK_GENERATOR STREQUAL "DEB")
  foreach(tool dpkg-shlibdeps file)
    find_program(found_${tool} ${tool})
    if(NOT found_${tool})
      message(FATAL_ERROR "cannot compute the package's dependencies: ${tool} is missing "
        "(Debian packages dpkg-dev and file; sh tools/deps.sh install installs them)")
    endif()
  endforeach()
endif()
