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
set(CPACK_PACKAGE_CONTACT "Valdrix developers <valdrix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "administration client of a card-based access-control installation")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "administration client of a card-based access-control installation
 Valdrix keeps the MySQL/MariaDB database of an access-control installation:
 people and their cards, groups, weekly schedule templates, the permissions of
 groups on door controllers' reader heads, the controllers and their sites, and
 the log of passage events with its CSV and XML export. The interface is Polish.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies are computed from the libraries the binary links (dpkg-shlibdeps).
# Qt loads its display plugins at run time, which no linker records: they are the
# one dependency named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
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
