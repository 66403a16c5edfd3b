# Run by CPack after it has made the packages (CPACK_POST_BUILD_SCRIPTS).
#
# CPack gives a Debian package postinst and postrm scripts that call ldconfig
# whenever a shared library lies in a folder directly below /usr/lib, so also
# for the Python layer in /usr/lib/editor2, which the binaries find through
# their run paths and never through the linker's cache. Debian's policy wants
# no such call (ldconfig runs from a trigger), so each .deb is rebuilt without
# those two scripts. A maintainer script that does anything more stops the
# build instead: it would need a look.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.deb$")
        continue()
    endif()
    set(tree ${package}.tree)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
    set(removed FALSE)
    foreach(script postinst postrm)
        set(file ${tree}/DEBIAN/${script})
        if(NOT EXISTS ${file})
            continue()
        endif()
        file(STRINGS ${file} lines)
        list(FILTER lines EXCLUDE REGEX
            "^(#!/bin/sh|set -e|if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then|[ \t]*ldconfig|fi|[ \t]*)$")
        if(lines)
            message(FATAL_ERROR "${script} of ${package} does more than call ldconfig: ${lines}")
        endif()
        file(REMOVE ${file})
        set(removed TRUE)
    endforeach()
    if(removed)
        execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${package}
            OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    endif()
    file(REMOVE_RECURSE ${tree})
endforeach()
