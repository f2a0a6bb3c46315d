# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build tree BUILD_DIR into the folder STAGE, checks what lands there, and removes
# it again as `make uninstall` does.
#   cmake -DBUILD_DIR=<build> -DSTAGE=<folder> -DAPP_ID=<id> -P CheckInstall.cmake
file(REMOVE_RECURSE "${STAGE}")
# Every file is in the one component "Unspecified": installed by name, the list of what went
# where is install_manifest_Unspecified.txt, and install_manifest.txt stays that of `make install`.
set(manifest "${BUILD_DIR}/install_manifest_Unspecified.txt")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE}"
                        --component Unspecified
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(desktop "share/applications/${APP_ID}.desktop")
set(metainfo "share/metainfo/${APP_ID}.metainfo.xml")
foreach(path bin/jotshelf ${desktop} ${metainfo}
             share/icons/hicolor/scalable/apps/${APP_ID}.svg
             share/man/man1/jotshelf.1.gz
             share/bash-completion/completions/jotshelf
             share/doc/jotshelf/README.md
             share/doc/jotshelf/copyright
             share/doc/jotshelf/changelog.gz)
    if(NOT EXISTS "${STAGE}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

execute_process(COMMAND "${STAGE}/bin/jotshelf" --version
                RESULT_VARIABLE result OUTPUT_VARIABLE version)
if(NOT result EQUAL 0 OR NOT version MATCHES "^Jotshelf [0-9]")
    message(FATAL_ERROR "the installed jotshelf answers --version with ${result}: ${version}")
endif()

execute_process(COMMAND desktop-file-validate "${STAGE}/${desktop}"
                RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(NOT result EQUAL 0 OR NOT report STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate (${result}): ${report}")
endif()
execute_process(COMMAND appstreamcli validate --no-net --pedantic "${STAGE}/${metainfo}"
                RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
# It fails on errors and warnings; the hints it gives beside them (pedantic: the id's capital
# letter) are shown in the test's output.
if(NOT result EQUAL 0 OR NOT report MATCHES "Validation was successful")
    message(FATAL_ERROR "appstreamcli validate (${result}): ${report}")
endif()
message(STATUS "appstreamcli validate --no-net --pedantic: ${report}")

# The installed README links only to what is there or on the web.
file(READ "${STAGE}/share/doc/jotshelf/README.md" readme)
if(readme MATCHES "\\]\\(docs/")
    message(FATAL_ERROR "the installed README links to docs/, which is not installed")
endif()

execute_process(COMMAND "${CMAKE_COMMAND}" -DMANIFEST=${manifest}
                        -P "${CMAKE_CURRENT_LIST_DIR}/Uninstall.cmake"
                RESULT_VARIABLE result OUTPUT_QUIET)
file(GLOB_RECURSE left LIST_DIRECTORIES false "${STAGE}/*")
if(NOT result EQUAL 0 OR NOT left STREQUAL "")
    message(FATAL_ERROR "uninstalling (${result}) left: ${left}")
endif()
file(REMOVE_RECURSE "${STAGE}")
message(STATUS "installed tree in ${STAGE} is complete, and went away again")
