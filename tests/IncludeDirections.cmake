# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

cmake_minimum_required(VERSION 3.20)
# Fails when a source folder includes one that comes after it in FOLDERS (lowest first, as
# src/CMakeLists.txt lists them), so the folders never include one another in a circle:
#   cmake -DSOURCE_DIR=src "-DFOLDERS=platform;storage;..." -P tests/IncludeDirections.cmake
# Between the two libraries the build itself keeps the direction (each sees only its own
# folders); this keeps it within each library too.
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
set(faults "")
set(below "")
foreach(folder IN LISTS FOLDERS)
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" includes REGEX "^#include \"[a-z]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${line}")
            if(target STREQUAL folder OR target IN_LIST below)
                continue()
            endif()
            file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
            string(APPEND faults "  ${name}: ${line} (${folder}/ may include only: ${below})\n")
        endforeach()
    endforeach()
    list(APPEND below ${folder})
endforeach()
if(faults)
    message(FATAL_ERROR "Includes against the folders' order:\n${faults}")
endif()
