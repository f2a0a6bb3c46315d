# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Works out this build's version at build time and writes it, with who the app is, into
# OUT_DIR/JotshelfBuildInfo.h (for the binary) and OUT_DIR/version.cmake (for the manual page,
# the changelog and the package), each only when it changed, so an unchanged version rebuilds
# nothing.
#   cmake -DSOURCE_DIR=<clone> -DOUT_DIR=<folder> -DVERSION=<x.y.z> -DAPP_ID=<id>
#         -DHOMEPAGE=<url> -DBUG_URL=<url> -DCOPYRIGHT=<text> -P Version.cmake
#
# A commit tagged v<x.y.z> is that release and builds as <x.y.z>. Any other commit builds as
# <x.y.z>+git<YYYYMMDD>.<HHMMSS>.<hash> (its commit time in UTC), which Debian sorts after the
# release and after every earlier commit. Without git (a tarball) the build is the release, dated
# as NEWS dates it.
include(${CMAKE_CURRENT_LIST_DIR}/News.cmake)

jotshelf_read_news("${SOURCE_DIR}/NEWS" news)
list(GET news_DATES 0 news_date)

set(full_version "${VERSION}")
set(epoch "")
find_program(GIT git)
if(GIT AND EXISTS "${SOURCE_DIR}/.git")
    set(git "${GIT}" -c "safe.directory=${SOURCE_DIR}" -C "${SOURCE_DIR}")
    execute_process(COMMAND ${git} log -1 --format=%ct/%h OUTPUT_VARIABLE head
                    OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result ERROR_QUIET)
    if(result EQUAL 0 AND head MATCHES "^([0-9]+)/([0-9a-f]+)$")
        set(epoch "${CMAKE_MATCH_1}")
        set(hash "${CMAKE_MATCH_2}")
        execute_process(COMMAND ${git} describe --tags --exact-match --match "v${VERSION}" HEAD
                        RESULT_VARIABLE tagged OUTPUT_QUIET ERROR_QUIET)
        if(NOT tagged EQUAL 0)
            jotshelf_format_epoch("${epoch}" "%Y%m%d.%H%M%S" stamp)
            set(full_version "${VERSION}+git${stamp}.${hash}")
        endif()
    endif()
endif()
if(epoch STREQUAL "")
    jotshelf_epoch_of_date("${news_date}" epoch)
endif()
jotshelf_format_epoch("${epoch}" "%Y-%m-%d" date)

file(MAKE_DIRECTORY "${OUT_DIR}")
file(WRITE "${OUT_DIR}/JotshelfBuildInfo.h.new"
"// Made by cmake/Version.cmake at build time.
#pragma once
#define JOTSHELF_VERSION \"${full_version}\"
#define JOTSHELF_VERSION_DATE \"${date}\"
#define JOTSHELF_APP_ID \"${APP_ID}\"
#define JOTSHELF_HOMEPAGE \"${HOMEPAGE}\"
#define JOTSHELF_BUG_URL \"${BUG_URL}\"
#define JOTSHELF_COPYRIGHT \"${COPYRIGHT}\"
")
file(WRITE "${OUT_DIR}/version.cmake.new"
"set(JOTSHELF_FULL_VERSION \"${full_version}\")
set(JOTSHELF_VERSION_EPOCH \"${epoch}\")
set(JOTSHELF_VERSION_DATE \"${date}\")
")
foreach(name JotshelfBuildInfo.h version.cmake)
    file(COPY_FILE "${OUT_DIR}/${name}.new" "${OUT_DIR}/${name}" ONLY_IF_DIFFERENT)
    file(REMOVE "${OUT_DIR}/${name}.new")
endforeach()
