# The installed layout and the Debian package (cpack -G DEB, or the target `package_deb`).
# Installed, the three programs live in <prefix>/bin and their read-only files in
# <prefix>/share/korven; the programs find them there when no raporty/ sits beside the executable.
# What they write for the user (setup.ini, fotogr/) goes to the user's own folders.
include(GNUInstallDirs)
set(KORVEN_SHARE ${CMAKE_INSTALL_DATADIR}/korven)

install(TARGETS korven korven-cli sarkol RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/raporty/ DESTINATION ${KORVEN_SHARE}/raporty PATTERN .gitkeep EXCLUDE)
# The blank forms the report menu opens, under the names it opens them by, as in the build tree.
install(FILES ${CMAKE_SOURCE_DIR}/forms/karta.rtf DESTINATION ${KORVEN_SHARE} RENAME karta.doc)
install(FILES ${CMAKE_SOURCE_DIR}/forms/wkladka.rtf DESTINATION ${KORVEN_SHARE} RENAME wkladka.doc)
# The picture of a missing photograph, the window icons, and the sounds the program plays.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${KORVEN_SHARE}
        FILES_MATCHING PATTERN "*.bmp" PATTERN "*.png" PATTERN "*.wav")
install(FILES ${CMAKE_SOURCE_DIR}/data/korven.desktop ${CMAKE_SOURCE_DIR}/data/sarkol.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(icon korven sarkol)
  install(FILES ${CMAKE_SOURCE_DIR}/data/${icon}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
  install(FILES ${CMAKE_SOURCE_DIR}/data/${icon}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korven)
set(CPACK_PACKAGE_VENDOR "KORVEN")
set(CPACK_PACKAGE_CONTACT "KORVEN <korven@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ewidencja paliw pojazdów i sprzętu silnikowego straży pożarnej")
set(CPACK_PACKAGE_DESCRIPTION
    "KORVEN (the main program), korven-cli (the same work from the command line) and sarkol (the\n administration of its Firebird 3 database), with report projects, card templates and forms.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build keeps its debugging symbols; the package carries the programs without them.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The shared libraries are found by dpkg-shlibdeps; the rest is what the programs start or load at
# run time: the embedded engine, the Qt platform plugin of the desktop, Qt's Polish texts, the
# archiver of the administration program, a font with Polish letters.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "firebird3.0-server-core, qt6-qpa-plugins, qt6-translations-l10n, arj, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "firebird3.0-utils, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "firebird3.0-server")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)

# Builds the package from what is built already: cmake --build build --target package_deb
add_custom_target(package_deb
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS korven korven-cli sarkol korven_templates korven_resources
  COMMENT "Building the Debian package")
