# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and the Debian package.
#
#   cmake --install <build> --prefix <dir>   program, desktop entry, AppStream metadata
#   cmake --build <build> --target package   zirkulon_<version>_<arch>.deb in <build>

include(GNUInstallDirs)

set(ZIRKULON_APP_ID org.example.zirkulon)

# The software centre's metadata, with the project's version and release date.
set(ZIRKULON_METAINFO ${CMAKE_CURRENT_BINARY_DIR}/${ZIRKULON_APP_ID}.metainfo.xml)
configure_file(packaging/${ZIRKULON_APP_ID}.metainfo.xml.in ${ZIRKULON_METAINFO} @ONLY)

# The manual page and the Debian changelog, compressed as Debian wants them:
# without a file name or time stamp in the gzip header.
configure_file(packaging/zirkulon.6.in ${CMAKE_CURRENT_BINARY_DIR}/zirkulon.6 @ONLY)
find_program(ZIRKULON_GZIP gzip REQUIRED)
foreach(text zirkulon.6 changelog)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/zirkulon.6)
  if(text STREQUAL changelog)
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog)
  endif()
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${text}.gz
    COMMAND ${ZIRKULON_GZIP} -9 -n -c ${source} > ${CMAKE_CURRENT_BINARY_DIR}/${text}.gz
    DEPENDS ${source} VERBATIM)
  list(APPEND ZIRKULON_COMPRESSED ${CMAKE_CURRENT_BINARY_DIR}/${text}.gz)
endforeach()
add_custom_target(zirkulon_docs ALL DEPENDS ${ZIRKULON_COMPRESSED})

install(TARGETS zirkulon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Stripped as Debian strips: without the compiler's notes either.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment --remove-section=.note
                            \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zirkulon
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zirkulon.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/${ZIRKULON_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZIRKULON_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/copyright
              ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zirkulon)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zirkulon)
set(CPACK_PACKAGE_VENDOR "Zirkulon-Team")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zirkulon-Team <zirkulon@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Winkel schätzen lernen")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://example.org/zirkulon")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "Ein Lernspiel für Kinder: Ein roter Schenkel zeigt nach rechts, den blauen\n"
       "Schenkel dreht man mit der Maus, bis beide den verlangten Winkel einschließen.")
# dpkg-shlibdeps adds the libraries the program links (Qt Widgets, Gui and Core,
# the C and C++ run-time); what Qt and the window load at run time is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-comic-neue")
# German button texts in the message and input boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

# The package's file and archive times (cpack reads SOURCE_DATE_EPOCH).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/CPackTimes.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE}
     "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})\n"
     "  set(ENV{SOURCE_DATE_EPOCH} ${ZIRKULON_SOURCE_DATE_EPOCH})\n"
     "endif()\n")
# SHA256SUMS beside the package, for `sha256sum -c`.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/Checksums.cmake)

include(CPack)
