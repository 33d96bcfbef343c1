# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# `cpack -G DEB` and `cpack -G RPM` in the build folder make a Debian or an
# RPM package of what `cmake --install` puts in place.
set(CPACK_PACKAGE_NAME vantric)
set(CPACK_PACKAGE_VENDOR "The Vantric developers")
set(CPACK_PACKAGE_CONTACT "The Vantric developers <vantric@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Time how fast a drive can be written and read")
# In lines of at most 72 characters: Debian wants 80 columns with the leading
# space, rpmlint 79.
set(CPACK_PACKAGE_DESCRIPTION "Vantric lists the drives of the machine with their type, free space and
size. Pick a test size and click a drive: it writes a scratch file there,
reads it back, deletes it, and shows the write and read rates.
vantric-cli runs the same test without a window.")
set(CPACK_RPM_PACKAGE_LICENSE GPL-3.0-or-later)
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

set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_GROUP "Applications/System")
# The RPM generator reads only its own description variable.
set(CPACK_RPM_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
# The desktop entry, icons and metainfo work only where the desktop looks.
set(CPACK_PACKAGE_RELOCATABLE OFF)
# rpmbuild requires each linked library by its soname, which every RPM
# distribution resolves to its own package; Fedora ships the X11 platform
# plugin with libQt6Gui, so no package name is written here.
set(CPACK_RPM_PACKAGE_AUTOREQ ON)
# The package owns its files only: the folders they go in belong to the
# system and the icon theme.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/installed_files.txt vantric_installed_files REGEX "^[^#]")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/installed_files.txt)
foreach(file IN LISTS vantric_installed_files)
  cmake_path(GET file PARENT_PATH dir)
  while(dir)
    list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION ${CPACK_PACKAGING_INSTALL_PREFIX}/${dir})
    cmake_path(GET dir PARENT_PATH dir)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION)
# CPack has no variable for Recommends, so the tags go in as extra
# rpmbuild definitions; the package names are Fedora's and openSUSE's, the fonts
# are named as fontconfig's dependency generator provides them. No
# /usr/lib/.build-id links: the .deb has none either.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define _build_id_links none
Recommends: (qt6-qtwayland or qt6-wayland)
Recommends: font(liberationsans)
Recommends: font(liberationmono)")

include(CPack)
