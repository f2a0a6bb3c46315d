# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

cmake_minimum_required(VERSION 3.20)
# Fails when a source folder includes one that is above it, so the folders never include one
# another in a circle. Each folder may include itself and the folders listed after it here:
#   cmake -DSOURCE_DIR=src -P tests/IncludeDirections.cmake
set(allowed_settings app drawer editor storage instance platform)
set(allowed_drawer app editor storage instance platform)
set(allowed_editor app storage instance platform)
set(allowed_app storage instance platform)
set(allowed_instance storage platform)
set(allowed_storage platform)
set(allowed_platform)
set(folders settings drawer editor app instance storage platform)

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
set(faults "")
foreach(folder IN LISTS folders)
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" includes REGEX "^#include \"[a-z]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${line}")
            if(target STREQUAL folder OR NOT target IN_LIST folders)
                continue()
            endif()
            if(NOT target IN_LIST allowed_${folder})
                file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
                string(APPEND faults "  ${name}: ${line} (${folder}/ may include only: ${allowed_${folder}})\n")
            endif()
        endforeach()
    endforeach()
endforeach()
if(faults)
    message(FATAL_ERROR "Includes against the folders' order:\n${faults}")
endif()
