# Where `cmake --install` puts things: the host in bin, the Python layer in
# the library folder, the plug-in (with its version links) in a Qt plug-in
# folder and the translations in the data folder. The host finds the plug-in
# and the translations relative to its own folder, and the installed
# binaries find the Python layer through an $ORIGIN run path, so an
# installed tree runs from any prefix.
include(GNUInstallDirs)

set(EDITOR2_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
set(EDITOR2_INSTALL_LIBDIR ${CMAKE_INSTALL_LIBDIR})
set(EDITOR2_INSTALL_PLUGINDIR ${CMAKE_INSTALL_LIBDIR}/qt5/plugins/editor2)
set(EDITOR2_INSTALL_TRANSLATIONSDIR ${CMAKE_INSTALL_DATADIR}/editor2/translations)

file(RELATIVE_PATH EDITOR2_PLUGIN_FROM_BINDIR
    /${EDITOR2_INSTALL_BINDIR} /${EDITOR2_INSTALL_PLUGINDIR})
file(RELATIVE_PATH EDITOR2_TRANSLATIONS_FROM_BINDIR
    /${EDITOR2_INSTALL_BINDIR} /${EDITOR2_INSTALL_TRANSLATIONSDIR})
file(RELATIVE_PATH EDITOR2_LIBDIR_FROM_BINDIR
    /${EDITOR2_INSTALL_BINDIR} /${EDITOR2_INSTALL_LIBDIR})
file(RELATIVE_PATH EDITOR2_LIBDIR_FROM_PLUGINDIR
    /${EDITOR2_INSTALL_PLUGINDIR} /${EDITOR2_INSTALL_LIBDIR})
