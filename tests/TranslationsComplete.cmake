# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails when a translation misses a text the sources show: lupdate runs over the sources into a
# copy of each .ts file (the file itself is left alone), and every message of the copy must have
# a finished translation. A new or changed English text without its translation shows up as an
# unfinished message. Run with -DLUPDATE=... -DSOURCE_LIST=... -DWORK_DIR=... -DTS_FILES=a;b
foreach(ts IN LISTS TS_FILES)
    get_filename_component(name "${ts}" NAME)
    set(copy "${WORK_DIR}/${name}")
    file(MAKE_DIRECTORY "${WORK_DIR}")
    configure_file("${ts}" "${copy}" COPYONLY)
    execute_process(COMMAND "${LUPDATE}" -silent -locations none -no-obsolete "@${SOURCE_LIST}"
                            -ts "${copy}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "lupdate failed on ${name}:\n${output}")
    endif()
    file(READ "${copy}" content)
    string(REPLACE "</message>" "</message>;" messages "${content}")
    set(missing "")
    set(count 0)
    foreach(message IN LISTS messages)
        if(NOT message MATCHES "<source>(.*)</source>")
            continue()
        endif()
        math(EXPR count "${count} + 1")
        string(REGEX MATCH "<source>[^<]*</source>" source "${message}")
        if(message MATCHES "type=\"(unfinished|vanished|obsolete)\""
           OR message MATCHES "<translation>[ \n]*</translation>"
           OR NOT message MATCHES "<translation")
            list(APPEND missing "${source}")
        endif()
    endforeach()
    if(missing)
        list(JOIN missing "\n  " lines)
        message(FATAL_ERROR "${name} has no translation for:\n  ${lines}\n"
                "Run `cmake --build build --target update_translations` and translate these "
                "in ${ts}.")
    endif()
    message(STATUS "${name}: all ${count} texts translated")
endforeach()
