# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Reads NEWS: each release is a heading "Jotshelf <version> (<YYYY-MM-DD>)" underlined with "=",
# then its changes, each starting with "- " and continued on lines indented by two spaces,
# newest release first. The metainfo's releases and the Debian changelog are made from it.
#
# jotshelf_read_news(<file> <prefix>) sets <prefix>_VERSIONS and <prefix>_DATES (lists, newest
# first) and, for each version V, <prefix>_ITEMS_<V> (a list of changes, each on one line).
function(jotshelf_read_news file prefix)
    file(STRINGS "${file}" lines ENCODING UTF-8)
    set(versions "")
    set(dates "")
    set(current "")
    set(item "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^Jotshelf ([0-9][0-9.]*) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")
            if(NOT item STREQUAL "")
                list(APPEND items_${current} "${item}")
            endif()
            set(current "${CMAKE_MATCH_1}")
            list(APPEND versions "${CMAKE_MATCH_1}")
            list(APPEND dates "${CMAKE_MATCH_2}")
            set(items_${current} "")
            set(item "")
        elseif(current STREQUAL "" OR line MATCHES "^=+$" OR line STREQUAL "")
            continue()
        elseif(line MATCHES "^- (.*)$")
            if(NOT item STREQUAL "")
                list(APPEND items_${current} "${item}")
            endif()
            set(item "${CMAKE_MATCH_1}")
        elseif(line MATCHES "^  (.*)$" AND NOT item STREQUAL "")
            string(APPEND item " ${CMAKE_MATCH_1}")
        else()
            message(FATAL_ERROR "${file}: a line that is no heading, change or continuation: ${line}")
        endif()
    endforeach()
    if(NOT item STREQUAL "")
        list(APPEND items_${current} "${item}")
    endif()
    if(versions STREQUAL "")
        message(FATAL_ERROR "${file} names no release")
    endif()
    set(${prefix}_VERSIONS "${versions}" PARENT_SCOPE)
    set(${prefix}_DATES "${dates}" PARENT_SCOPE)
    foreach(version IN LISTS versions)
        if(items_${version} STREQUAL "")
            message(FATAL_ERROR "${file}: release ${version} lists no change")
        endif()
        set(${prefix}_ITEMS_${version} "${items_${version}}" PARENT_SCOPE)
    endforeach()
endfunction()

# The seconds since 1970 of midnight UTC on <YYYY-MM-DD>.
function(jotshelf_epoch_of_date date out)
    execute_process(COMMAND date -u -d "${date}" +%s OUTPUT_VARIABLE epoch
                    OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "not a date: ${date}")
    endif()
    set(${out} "${epoch}" PARENT_SCOPE)
endfunction()

# <epoch> formatted by string(TIMESTAMP) with <format>, in UTC.
function(jotshelf_format_epoch epoch format out)
    set(saved "$ENV{SOURCE_DATE_EPOCH}")
    set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
    string(TIMESTAMP text "${format}" UTC)
    set(ENV{SOURCE_DATE_EPOCH} "${saved}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()
