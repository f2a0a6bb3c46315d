# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build tree BUILD_DIR into the folder STAGE and checks what lands there.
#   cmake -DBUILD_DIR=<build> -DSTAGE=<folder> -P CheckInstall.cmake
file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(path bin/jotshelf
             share/applications/jotshelf.desktop
             share/icons/hicolor/scalable/apps/jotshelf.svg
             share/doc/jotshelf/README.md)
    if(NOT EXISTS "${STAGE}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

execute_process(COMMAND "${STAGE}/bin/jotshelf" --version
                RESULT_VARIABLE result OUTPUT_VARIABLE version)
if(NOT result EQUAL 0 OR NOT version MATCHES "^Jotshelf [0-9]")
    message(FATAL_ERROR "the installed jotshelf answers --version with ${result}: ${version}")
endif()

execute_process(COMMAND desktop-file-validate "${STAGE}/share/applications/jotshelf.desktop"
                RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(NOT result EQUAL 0 OR NOT report STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate (${result}): ${report}")
endif()
message(STATUS "installed tree in ${STAGE} is complete")
