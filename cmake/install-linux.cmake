# What `cmake --install` lays out on Linux, and the Debian package `cpack -G DEB` makes of it:
#   lib/sacotin/Sacotin and lib/sacotin/liste.dat   the program and its catalogue, side by side
#   bin/sacotin                                     a link to the program (it finds liste.dat
#                                                   in the folder of the real file)
#   share/applications, share/icons/hicolor, share/metainfo
#                                                   the desktop menu entry, its icon, AppStream
#   share/man/man6/sacotin.6.gz, share/doc/sacotin  the manual page, copyright and changelog
# Installed with --prefix ~/.local, the player has a copy of their own whose liste.dat they can
# edit: an install over it leaves an edited liste.dat alone (see install-catalogue.cmake). The
# Debian package keeps the catalogue in /etc/sacotin/liste.dat, a configuration file that
# upgrades keep when the player changed it, with lib/sacotin/liste.dat a link to it, and the
# command in /usr/games (see debian-layout.cmake).
set(sacotin_app_id ${SACOTIN_APP_ID})
set(sacotin_program_dir lib/sacotin)

install(TARGETS Sacotin RUNTIME DESTINATION ${sacotin_program_dir})
install(CODE "set(sacotin_catalogue_source \"${CMAKE_CURRENT_SOURCE_DIR}/demo/liste.dat\")
              set(sacotin_catalogue_folder \"${sacotin_program_dir}\")")
install(SCRIPT cmake/install-catalogue.cmake)

file(CREATE_LINK ../${sacotin_program_dir}/Sacotin ${CMAKE_CURRENT_BINARY_DIR}/sacotin SYMBOLIC)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/sacotin DESTINATION bin)

install(FILES resources/linux/${sacotin_app_id}.desktop DESTINATION share/applications)
install(FILES resources/icons/sacotin.png DESTINATION share/icons/hicolor/32x32/apps
        RENAME ${sacotin_app_id}.png)
# The icon drawn at the other sizes, for scaled displays and small icons.
foreach(size 16 24 48 64)
  install(FILES resources/icons/sacotin-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${sacotin_app_id}.png)
endforeach()
configure_file(resources/linux/${sacotin_app_id}.metainfo.xml
               ${CMAKE_CURRENT_BINARY_DIR}/docs/${sacotin_app_id}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/docs/${sacotin_app_id}.metainfo.xml
        DESTINATION share/metainfo)

# The manual page and the changelog carry the version; both are compressed as Debian wants them
# (gzip -9n: no name or time stamp in the file).
set(sacotin_docs ${CMAKE_CURRENT_BINARY_DIR}/docs)
configure_file(resources/linux/sacotin.6 ${sacotin_docs}/sacotin.6 @ONLY)
configure_file(resources/linux/changelog ${sacotin_docs}/changelog @ONLY)
# The portable folder's notes (tools/package-linux.sh).
configure_file(resources/linux/LISEZMOI.txt.in ${sacotin_docs}/LISEZMOI.txt @ONLY)
add_custom_command(
  OUTPUT ${sacotin_docs}/sacotin.6.gz ${sacotin_docs}/changelog.gz
  COMMAND gzip -9nkf ${sacotin_docs}/sacotin.6 ${sacotin_docs}/changelog
  DEPENDS ${sacotin_docs}/sacotin.6 ${sacotin_docs}/changelog)
add_custom_target(sacotin_docs ALL DEPENDS ${sacotin_docs}/sacotin.6.gz ${sacotin_docs}/changelog.gz)
# Building the program alone (preset app) makes them too: installing needs them.
add_dependencies(Sacotin sacotin_docs)
install(FILES ${sacotin_docs}/sacotin.6.gz DESTINATION share/man/man6)
install(FILES ${sacotin_docs}/changelog.gz resources/linux/copyright DESTINATION share/doc/sacotin)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sacotin)
set(CPACK_PACKAGE_CONTACT "${SACOTIN_PUBLISHER} <${SACOTIN_CONTACT}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Inventaire des personnages T4C (jeu lancé sous Wine)")
# The extended description, below the summary.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Sacotin montre ce que portent les personnages des comptes T4C d'un joueur :
les objets d'un personnage avec leur nombre, ou les personnages qui portent un
objet donné. Il lit le registre du préfixe Wine où tourne le jeu (celui de
Wine, Lutris, Heroic, Bottles, Steam, winetricks, Faugus Launcher, CrossOver ou
PlayOnLinux) et nomme les objets d'après le catalogue /etc/sacotin/liste.dat,
que le joueur peut compléter. Il n'écrit rien.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${SACOTIN_WEB_ADDRESS})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles "/etc/sacotin/liste.dat\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/debian-layout.cmake)
# The libraries the program links (found by dpkg-shlibdeps; Qt's xcb and JPEG plug-ins come with
# libqt6gui6), and what it loads by name: the fonts of its layouts, Qt's French texts and Qt's
# Wayland platform (in a Wayland session without an X server, the only one that starts).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n, qt6-wayland")
include(CPack)
