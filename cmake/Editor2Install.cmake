# Where `cmake --install` puts things: the host in bin, the plug-in (with its
# version links) in a Qt plug-in folder, the Python layer in a private
# library folder of its own, the translations in the data folder, and what a
# desktop and Debian expect (menu entries, icons, the INI file type, the
# AppStream description; the manual page, the copyright file and the
# changelog) where they look for them. The host finds the plug-in and the
# translations relative to its own folder, and the installed binaries find
# the Python layer through an $ORIGIN run path, so an installed tree runs
# from any prefix and the layer needs no entry in the linker's cache.
include(GNUInstallDirs)

# Written into the package, its changelog and its AppStream description.
# Nothing is ever sent to this address.
set(EDITOR2_MAINTAINER "editor2 maintainers <editor2@example.org>")

set(EDITOR2_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
set(EDITOR2_INSTALL_PRIVATELIBDIR ${CMAKE_INSTALL_LIBDIR}/editor2)
set(EDITOR2_INSTALL_PLUGINDIR ${CMAKE_INSTALL_LIBDIR}/qt5/plugins/editor2)
set(EDITOR2_INSTALL_TRANSLATIONSDIR ${CMAKE_INSTALL_DATADIR}/editor2/translations)
set(EDITOR2_INSTALL_DOCDIR ${CMAKE_INSTALL_DOCDIR})
set(EDITOR2_INSTALL_MAN1DIR ${CMAKE_INSTALL_MANDIR}/man1)
set(EDITOR2_INSTALL_APPLICATIONSDIR ${CMAKE_INSTALL_DATADIR}/applications)
set(EDITOR2_INSTALL_ICONSDIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
set(EDITOR2_INSTALL_METAINFODIR ${CMAKE_INSTALL_DATADIR}/metainfo)
set(EDITOR2_INSTALL_MIMEDIR ${CMAKE_INSTALL_DATADIR}/mime/packages)

file(RELATIVE_PATH EDITOR2_PLUGIN_FROM_BINDIR
    /${EDITOR2_INSTALL_BINDIR} /${EDITOR2_INSTALL_PLUGINDIR})
file(RELATIVE_PATH EDITOR2_TRANSLATIONS_FROM_BINDIR
    /${EDITOR2_INSTALL_BINDIR} /${EDITOR2_INSTALL_TRANSLATIONSDIR})
file(RELATIVE_PATH EDITOR2_PRIVATELIBDIR_FROM_BINDIR
    /${EDITOR2_INSTALL_BINDIR} /${EDITOR2_INSTALL_PRIVATELIBDIR})
file(RELATIVE_PATH EDITOR2_PRIVATELIBDIR_FROM_PLUGINDIR
    /${EDITOR2_INSTALL_PLUGINDIR} /${EDITOR2_INSTALL_PRIVATELIBDIR})
