# `cpack -G DEB` in the build folder: editor2_<version>_<arch>.deb with
# everything `cmake --install` puts in place under /usr, its dependencies
# found by dpkg-shlibdeps (packages dpkg-dev and file).
set(CPACK_PACKAGE_NAME editor2)
set(CPACK_PACKAGE_VENDOR "Arvel")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Editor plug-in for a traffic-light controller manager, with a reference host")
# Debian shows the description as it is: lines within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "The editing dialogs of a desktop application that manages road traffic-light
controllers on a map, as a Qt 5 plug-in, with the reference host that loads it.
The host shows the controllers of a project on a map and opens every dialog of
the plug-in; on its own it also edits INI settings files as a tree.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${EDITOR2_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see it: the host's map reads
# tile databases through Qt's SQLite driver.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt5sql5-sqlite)
# Qt's own Russian texts: the standard buttons and Qt's dialogs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qttranslations5-l10n)
# CPack's own maintainer scripts only call ldconfig, which the private Python
# layer does not need; the script takes them out of the package.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/Editor2DebWithoutLdconfig.cmake)
set(CPACK_GENERATOR DEB)
include(CPack)
