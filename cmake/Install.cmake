# What a user installs: the program and its manual page, and the scanner
# library with its public header, a CMake package (classify::scanner) and a
# pkg-config file. The header goes under include/classify/, so that the one
# spelling #include "scanner/scanner.h" works in the tree and installed.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(SCANNER_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/classify)
set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/classify)

# First of all, the folders this install will make (for the uninstall).
set(folders ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_MANDIR}/man1 ${SCANNER_INCLUDE_DIR}/scanner
  ${config_dir} ${CMAKE_INSTALL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_DOCDIR})
install(CODE "set(FOLDERS \"${folders}\")
  set(RECORD \"${CMAKE_BINARY_DIR}/install_folders.txt\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/NewFolders.cmake\")")

install(TARGETS classify RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS scanner EXPORT classifyTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  PUBLIC_HEADER DESTINATION ${SCANNER_INCLUDE_DIR}/scanner)

if(WIN32)
  # On Windows, where there is no man, the manual page is a text file at the
  # top of the tree, beside the licence, both with Windows line ends. It is
  # formatted by mandoc; a build without it installs the page's source.
  find_program(MANDOC mandoc)
  if(MANDOC)
    set(manual ${CMAKE_CURRENT_BINARY_DIR}/classify.txt)
    add_custom_command(OUTPUT ${manual}
      COMMAND ${CMAKE_COMMAND} -DMANDOC=${MANDOC} -DPAGE=${PROJECT_SOURCE_DIR}/classifier/classify.1 -DTEXT=${manual}
        -P ${PROJECT_SOURCE_DIR}/cmake/ManualText.cmake
      DEPENDS ${PROJECT_SOURCE_DIR}/classifier/classify.1 ${PROJECT_SOURCE_DIR}/cmake/ManualText.cmake
      COMMENT "Rendering the manual page as text")
    add_custom_target(manual ALL DEPENDS ${manual})
    install(FILES ${manual} DESTINATION .)
  else()
    message(STATUS "mandoc not found: the manual page is installed as its source, classify.1")
    install(FILES ${PROJECT_SOURCE_DIR}/classifier/classify.1 DESTINATION .)
  endif()
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
  string(REPLACE "\n" "\r\n" licence "${licence}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt "${licence}")
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt DESTINATION .)
else()
  # Manual pages are installed compressed, as the distributions do.
  set(manual ${CMAKE_CURRENT_BINARY_DIR}/classify.1.gz)
  add_custom_command(OUTPUT ${manual}
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/classifier/classify.1 > ${manual}
    DEPENDS ${PROJECT_SOURCE_DIR}/classifier/classify.1
    COMMENT "Compressing the manual page")
  add_custom_target(manual ALL DEPENDS ${manual})
  install(FILES ${manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# find_package(classify CONFIG) -> classify::scanner
install(EXPORT classifyTargets NAMESPACE classify:: DESTINATION ${config_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/packaging/classifyConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/classifyConfig.cmake INSTALL_DESTINATION ${config_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/classifyConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/classifyConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/classifyConfigVersion.cmake DESTINATION ${config_dir})

# pkg-config --cflags --libs classify-scanner; paths relative to the file,
# so that an installed tree may be moved.
file(RELATIVE_PATH pc_to_prefix ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/classify-scanner.pc.in
  ${CMAKE_CURRENT_BINARY_DIR}/classify-scanner.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/classify-scanner.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(NOT WIN32)
  # The licence and the release notes, where Debian looks for them.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
  set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
  add_custom_command(OUTPUT ${changelog}
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
  add_custom_target(changelog ALL DEPENDS ${changelog})
  install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# The way back: remove what cmake --install put in place (its manifest).
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
    -P ${PROJECT_SOURCE_DIR}/cmake/Uninstall.cmake
  COMMENT "Removing the files installed from this build folder")
