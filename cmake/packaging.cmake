# Installation layout and the Debian package (cpack -G DEB, see scripts/package).
include(GNUInstallDirs)
# Packaging builds only the installed programs (scripts/package), not the tests and benchmarks.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# corvex-cli hands the clock, Access and PDF commands to corvex-cli-full beside it.
set(corvex_installed_programs corvex corvex-cli corvex-cli-full corvex-clocksim)
install(TARGETS ${corvex_installed_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program looks for its guide in <bin>/../share/corvex/help.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/corvex/help)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/corvex.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/corvex.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME "corvex")
set(CPACK_PACKAGE_VENDOR "Corvex Admin")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Administration program for Corvex electronic pigeon-race clocks")
set(CPACK_PACKAGE_DESCRIPTION
    "Keeps clubs, flyers, birds and liberation points, writes inventories and liberation points into a Corvex clock, reads race clockings into race files, prints race reports and exports WinSpeed data. Includes corvex-cli and the stand-in clock corvex-clocksim.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Corvex Admin developers <corvex@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plug-ins, so dpkg-shlibdeps cannot see them: SQLite for the database, xcb for the windows.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins")
set(CPACK_GENERATOR "DEB")
include(CPack)
