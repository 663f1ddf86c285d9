# What `cmake --install` puts under the prefix on Linux: the program, its menu entry and
# its icon in the hicolor theme's sizes. `cpack` in the build folder makes a .deb and a
# .tar.gz of the same files (build/<preset>/package/).
include(GNUInstallDirs)

# The icon, drawn at build time from the bitmap the windows show.
add_executable(belvosta_make_linux_icons ${PROJECT_SOURCE_DIR}/tools/make_linux_icons.cpp)
target_link_libraries(belvosta_make_linux_icons PRIVATE belvosta_pictures)
set(BELVOSTA_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
set(BELVOSTA_ICONS)
foreach(size 16 32 48)
  list(APPEND BELVOSTA_ICONS ${BELVOSTA_ICON_DIR}/${size}x${size}/apps/belvosta.png)
endforeach()
add_custom_command(OUTPUT ${BELVOSTA_ICONS}
                   COMMAND belvosta_make_linux_icons ${BELVOSTA_ICON_DIR}
                   DEPENDS belvosta_make_linux_icons
                   COMMENT "Drawing the program's icon for Linux desktops")
add_custom_target(belvosta_linux_icons ALL DEPENDS ${BELVOSTA_ICONS})

install(TARGETS belvosta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/belvosta.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${BELVOSTA_ICON_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The manual page belvosta(1), German for German locales and English for the rest, and
# the package's changelog, gzipped as Debian keeps them. Their version is project()'s and
# their date the source's (SOURCE_DATE_EPOCH, which string(TIMESTAMP) reads; else today),
# and gzip -n leaves out the name and time, so the same source gives the same bytes.
string(TIMESTAMP BELVOSTA_RELEASE_DAY "%Y-%m-%d" UTC)
string(TIMESTAMP BELVOSTA_RELEASE_TIME "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(BELVOSTA_DOCS_DIR ${CMAKE_BINARY_DIR}/docs)
set(BELVOSTA_GZIPPED)
foreach(page man/belvosta.1 man/en/belvosta.1 packaging/changelog)
  configure_file(${PROJECT_SOURCE_DIR}/${page}.in ${BELVOSTA_DOCS_DIR}/${page} @ONLY)
  add_custom_command(OUTPUT ${BELVOSTA_DOCS_DIR}/${page}.gz
                     COMMAND gzip -9nf -k ${BELVOSTA_DOCS_DIR}/${page}
                     DEPENDS ${BELVOSTA_DOCS_DIR}/${page})
  list(APPEND BELVOSTA_GZIPPED ${BELVOSTA_DOCS_DIR}/${page}.gz)
endforeach()
add_custom_target(belvosta_linux_docs ALL DEPENDS ${BELVOSTA_GZIPPED})
install(FILES ${BELVOSTA_DOCS_DIR}/man/belvosta.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1)
install(FILES ${BELVOSTA_DOCS_DIR}/man/en/belvosta.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${BELVOSTA_DOCS_DIR}/packaging/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/belvosta)

set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_NAME belvosta)
set(CPACK_PACKAGE_VENDOR "Quirlant Software")
set(CPACK_PACKAGE_CONTACT "Quirlant Software <belvosta@quirlant.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prüft, ob ein PC für Dorvane bereit ist")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Sucht die Dateien der Komponenten, die Dorvane braucht, zeigt die\n"
    "Systemordner, die Laufwerke und die Bildschirmauflösung und misst den\n"
    "Prozessortakt. Liest nur, schreibt nichts.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME belvosta-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The shared libraries the program links (the X libraries, fontconfig, the C and C++
# runtimes), found by dpkg-shlibdeps; FLTK is linked in statically and needs no package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
