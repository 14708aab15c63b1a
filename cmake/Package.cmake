# cmake --workflow --preset package: one Debian package with the program,
# its manual page, the scanner library, its header, and the CMake and
# pkg-config files, as cmake/Install.cmake lays them out under /usr (the
# library in the multiarch folder, as configuring for /usr gives).
# cmake --workflow --preset windows: the same as a zip for Windows, in one
# folder classify-<version>-win64 with bin, include and lib beneath it.
set(CPACK_PACKAGE_NAME classify)
set(CPACK_PACKAGE_VENDOR "The classify developers")
set(CPACK_PACKAGE_CONTACT "The classify developers <classify-devel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tell whether each byte of a line is a lowercase letter")
set(CPACK_PACKAGE_DESCRIPTION "\
classify asks for a line of text and tells, byte by byte, whether each byte
is a lowercase letter a to z. It reads a terminal a line at a time and files
or pipes in blocks, and classifies a first line of any length in constant
memory.

The package also holds the table-driven scanner library that classify is
built on, with its C++ header, a CMake package configuration
(find_package(classify) gives the target classify::scanner) and a
pkg-config file (classify-scanner), for programs that scan with it.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
  include(CPack)
  return()
endif()

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # libc, as dpkg-shlibdeps finds it
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/CPackChecks.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_GENERATOR DEB)
include(CPack)
