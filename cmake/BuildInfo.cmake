# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The version of this build and who the app is, for the binary (JotshelfBuildInfo.h) and the
# package (version.cmake), both in JOTSHELF_GENERATED.
include(${CMAKE_CURRENT_LIST_DIR}/News.cmake)

# NEWS lists the releases, newest first, and the newest is the version CMakeLists.txt names.
jotshelf_read_news(${PROJECT_SOURCE_DIR}/NEWS JOTSHELF_NEWS)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/NEWS)
list(GET JOTSHELF_NEWS_VERSIONS 0 newest)
if(NOT newest STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "NEWS names ${newest} as the newest release, CMakeLists.txt "
                        "${PROJECT_VERSION}: give the release its entry in NEWS")
endif()

# Worked out at every build, as a commit changes it without CMake running again; files that
# include the header recompile only when the version changed.
set(JOTSHELF_GENERATED ${CMAKE_BINARY_DIR}/generated)
add_custom_target(jotshelf_version
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOUT_DIR=${JOTSHELF_GENERATED}
            -DVERSION=${PROJECT_VERSION} -DAPP_ID=${JOTSHELF_APP_ID}
            -DHOMEPAGE=${PROJECT_HOMEPAGE_URL} -DBUG_URL=${JOTSHELF_BUG_URL}
            -DCOPYRIGHT=${JOTSHELF_COPYRIGHT} -P ${CMAKE_CURRENT_LIST_DIR}/Version.cmake
    BYPRODUCTS ${JOTSHELF_GENERATED}/JotshelfBuildInfo.h ${JOTSHELF_GENERATED}/version.cmake
    VERBATIM)
