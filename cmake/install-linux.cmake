# What `cmake --install` lays out on Linux, and the Debian package `cpack -G DEB` makes of it:
#   lib/sacotin/Sacotin and lib/sacotin/liste.dat   the program and its catalogue, side by side
#   bin/sacotin                                     a link to the program (it finds liste.dat
#                                                   in the folder of the real file)
#   share/applications, share/icons/hicolor, share/metainfo
#                                                   the desktop menu entry, its icon, AppStream
# Installed with --prefix ~/.local, the player has a copy of their own whose liste.dat they can
# edit.
set(sacotin_app_id test.sacotin.Sacotin)
set(sacotin_program_dir lib/sacotin)

install(TARGETS Sacotin RUNTIME DESTINATION ${sacotin_program_dir})
install(FILES demo/liste.dat DESTINATION ${sacotin_program_dir})

file(CREATE_LINK ../${sacotin_program_dir}/Sacotin ${CMAKE_CURRENT_BINARY_DIR}/sacotin SYMBOLIC)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/sacotin DESTINATION bin)

install(FILES resources/linux/${sacotin_app_id}.desktop DESTINATION share/applications)
install(FILES resources/icons/sacotin.png DESTINATION share/icons/hicolor/32x32/apps
        RENAME ${sacotin_app_id}.png)
install(FILES resources/linux/${sacotin_app_id}.metainfo.xml DESTINATION share/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sacotin)
set(CPACK_PACKAGE_CONTACT "Jean Martin <jean@t4c.test>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Inventaire des personnages T4C (jeu lancé sous Wine)")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries the program links (found by dpkg-shlibdeps; Qt's xcb and JPEG plug-ins come with
# libqt6gui6), and what it loads by name: the fonts of its layouts and Qt's French texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
include(CPack)
