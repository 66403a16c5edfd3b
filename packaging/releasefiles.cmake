# cmake -DVERSION=... -DMAINTAINER=... -DSOURCE_DIR=... -DMETAINFO_IN=...
#       -DCHANGELOG=<out> -DMETAINFO=<out> -P releasefiles.cmake
#
# Writes the package's changelog (Debian's format) and the AppStream
# description with the version and its release date. The date is
# SOURCE_DATE_EPOCH when set, else the date of the commit built, else now, so
# that the same source gives the same files.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    find_package(Git QUIET)
    if(GIT_FOUND)
        execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} log -1 --format=%ct
            OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
            RESULT_VARIABLE git_result ERROR_QUIET)
        if(git_result EQUAL 0 AND commit_time MATCHES "^[0-9]+$")
            set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
        endif()
    endif()
endif()
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP EDITOR2_RELEASE_DATE "%Y-%m-%d" UTC)

file(WRITE ${CHANGELOG} "editor2 (${VERSION}) unstable; urgency=medium

  * Release ${VERSION}.

 -- ${MAINTAINER}  ${changelog_date}
")

set(PROJECT_VERSION ${VERSION})
string(REGEX REPLACE "^.*<(.*)>$" "\\1" EDITOR2_MAINTAINER_ADDRESS "${MAINTAINER}")
configure_file(${METAINFO_IN} ${METAINFO} @ONLY)
