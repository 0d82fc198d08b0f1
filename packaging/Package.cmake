# Install rules and the Debian package (scripts/package builds it).
include(GNUInstallDirs)

install(TARGETS valdrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/valdrix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/icons/valdrix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES packaging/icons/valdrix-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME valdrix.png)
endforeach()
install(FILES src/db/schema.sql src/db/demo.sql DESTINATION ${CMAKE_INSTALL_DATADIR}/valdrix)

# Who answers for the package: its Maintainer field, the copyright's contact and
# the changelog's signature. Give a real address when building for distribution.
set(VALDRIX_MAINTAINER "Valdrix developers <valdrix@example.org>" CACHE STRING
    "Maintainer of the Debian package (name <address>)")

# The copyright file and the changelog Debian policy asks every package to carry.
configure_file(packaging/copyright ${CMAKE_BINARY_DIR}/packaging/copyright @ONLY)
configure_file(packaging/changelog ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/valdrix)

# The man page carries the version; Debian wants it compressed.
configure_file(packaging/valdrix.1 ${CMAKE_BINARY_DIR}/packaging/valdrix.1 @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/packaging/valdrix.1.gz
  COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/packaging/valdrix.1 > ${CMAKE_BINARY_DIR}/packaging/valdrix.1.gz
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/valdrix.1
  VERBATIM)
add_custom_target(manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/valdrix.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/valdrix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME valdrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VALDRIX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "administration client of a card-based access-control installation")
# The synopsis is the summary above; CPack puts it first, so the extended text
# starts below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Valdrix keeps the MySQL/MariaDB database of an access-control installation:
people and their cards, groups, weekly schedule templates, the permissions of
groups on door controllers' reader heads, the controllers and their sites, and
the log of passage events with its CSV and XML export. The interface is Polish.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies are computed from the libraries the binary links (dpkg-shlibdeps).
# Qt loads its display plugins and its Polish translation at run time, which no
# linker records: they are the dependencies named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "mariadb-server")
set(CPACK_DEBIAN_FILE_NAME "valdrix_${PROJECT_VERSION}_${CMAKE_SYSTEM_PROCESSOR}.deb")
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE VALDRIX_DEB_ARCH
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(VALDRIX_DEB_ARCH)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${VALDRIX_DEB_ARCH})
  set(CPACK_DEBIAN_FILE_NAME "valdrix_${PROJECT_VERSION}_${VALDRIX_DEB_ARCH}.deb")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
