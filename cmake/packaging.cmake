# `cpack -G DEB` in the build folder makes a Debian package of what
# `cmake --install` puts in place.
set(CPACK_PACKAGE_NAME vantric)
set(CPACK_PACKAGE_VENDOR "The Vantric developers")
set(CPACK_PACKAGE_CONTACT "The Vantric developers <vantric@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Time how fast a drive can be written and read")
set(CPACK_PACKAGE_DESCRIPTION
    "Vantric lists the drives of the machine with their type, free space and size. Pick a test size and click a drive: it writes a scratch file there, reads it back, deletes it, and shows the write and read rates.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/vantric/vantric")
set(CPACK_PACKAGE_INSTALL_DIRECTORY vantric)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries come from the program's own links (Qt 6, liburing). Qt only
# recommends its platform plugins, without which no window can open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Wayland sessions without it fall back to XWayland; the log and figures use
# Liberation fonts where Arial and Courier New are missing.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, fonts-liberation")

include(CPack)
