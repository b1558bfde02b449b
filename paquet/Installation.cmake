# Installation of KORV4 (cmake --install, make install) and its Debian package (cpack -G DEB,
# make paquet). Included at the end of the top CMakeLists.txt.

include(GNUInstallDirs)
set(KORV4_PAQUET ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS korv4 korv4-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# What only `korv4-cli typon` runs (its PDF page needs QtGui): not a command of its own.
install(TARGETS korv4-typon RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/korv4)
install(FILES ${KORV4_PAQUET}/korv4.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KORV4_PAQUET}/korv4.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${KORV4_PAQUET}/korv4.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# Manual pages: help2man turns each program's --help into its page, so the options are written
# once, in the program. help2man runs in a French locale compiled into the build folder (its
# headings are then French and the accents kept); the locale of the machine is not touched.
find_program(KORV4_HELP2MAN help2man REQUIRED)
find_program(KORV4_LOCALEDEF localedef REQUIRED)
find_program(KORV4_GZIP gzip REQUIRED)
set(KORV4_MAN ${CMAKE_BINARY_DIR}/paquet/man)
set(KORV4_LOCALES ${CMAKE_BINARY_DIR}/paquet/locale)
add_custom_command(
  OUTPUT ${KORV4_LOCALES}/fr_FR.UTF-8/LC_CTYPE
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORV4_LOCALES}
  COMMAND ${KORV4_LOCALEDEF} -i fr_FR -f UTF-8 ${KORV4_LOCALES}/fr_FR.UTF-8
  COMMENT "Locale fr_FR.UTF-8 pour help2man"
  VERBATIM)
set(KORV4_PAGES_MAN)
foreach(programme korv4 korv4-cli)
  set(page ${KORV4_MAN}/${programme}.1)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KORV4_MAN}
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            LOCPATH=${KORV4_LOCALES} ${KORV4_HELP2MAN} --locale=fr_FR.UTF-8 --no-info
            --section=1 --include=${KORV4_PAQUET}/${programme}.h2m
            --output=${page} $<TARGET_FILE:${programme}>
    COMMAND ${KORV4_GZIP} -9nf ${page}
    DEPENDS ${programme} ${KORV4_PAQUET}/${programme}.h2m ${KORV4_LOCALES}/fr_FR.UTF-8/LC_CTYPE
    COMMENT "Page de manuel de ${programme}"
    VERBATIM)
  list(APPEND KORV4_PAGES_MAN ${page}.gz)
endforeach()
add_custom_target(korv4_pages_man ALL DEPENDS ${KORV4_PAGES_MAN})
install(FILES ${KORV4_PAGES_MAN} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. dpkg-shlibdeps gives the dependencies from the libraries the programs
# link (the Qt 6 runtime, the C++ runtime); gerbv is only used by the tests.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korv4)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR KORV4)
set(CPACK_PACKAGE_CONTACT "KORV4 <dev@korv4.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "éditeur de circuits imprimés simple et double face")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "KORV4 dessine les circuits imprimés simple et double face sur une grille au pas\n"
       "de 2,54 mm : cuivre des faces 1 et 2, plan d'implantation et plan de perçage.\n"
       "Il imprime le circuit à l'échelle 1 et l'exporte pour la fabrication (Gerber,\n"
       "Excellon, ISO, HPGL). korv4-cli fait de même sans fenêtre, pour les scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/paquet)
include(CPack)
