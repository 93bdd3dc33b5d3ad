# The Debian package of the workstation (included from the top CMakeLists.txt).
set(CPACK_PACKAGE_NAME kia-nelta2)
set(CPACK_PACKAGE_VENDOR "kia-nelta2")
set(CPACK_PACKAGE_CONTACT "kia-nelta2 <kia-nelta2@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Repair-bench workstation for cash register control boards")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Repair-bench workstation for cash register control boards\nBoard tests over the serial link, the logic probe on the modem lines, guided\nfault-finding over control points, service operations, and a simulated bench\nfor demonstration and training without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The repair journal's SQLite driver is a Qt plug-in, loaded at run time, so
# the library scan cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
# Qt's Russian texts for its own dialogs; the program starts without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
