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

set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_NAME belvosta)
set(CPACK_PACKAGE_VENDOR "Quirlant Software")
set(CPACK_PACKAGE_CONTACT "Quirlant Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prüft, ob ein PC für Dorvane bereit ist")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Sucht die Dateien der Komponenten, die Dorvane braucht, zeigt die Systemordner, die "
    "Laufwerke und die Bildschirmauflösung und misst den Prozessortakt. Liest nur, "
    "schreibt nichts.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The X libraries the program links, found by dpkg-shlibdeps; FLTK is linked in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
