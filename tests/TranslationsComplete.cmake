# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails when a translation misses a text the sources show: lupdate runs over the sources into a
# copy of each .ts file (the file itself is left alone), where a new or changed English text
# without its translation shows up as unfinished. Run with -DLUPDATE=... -DSOURCE_LIST=...
# -DWORK_DIR=... -DTS_FILES=a.ts;b.ts
foreach(ts IN LISTS TS_FILES)
    get_filename_component(name "${ts}" NAME)
    configure_file("${ts}" "${WORK_DIR}/${name}" COPYONLY)
    execute_process(COMMAND "${LUPDATE}" -silent -locations none -no-obsolete "@${SOURCE_LIST}"
                            -ts "${WORK_DIR}/${name}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "lupdate failed on ${name}:\n${output}")
    endif()
    file(READ "${WORK_DIR}/${name}" content)
    # A message without a finished translation: marked unfinished (or vanished), or empty.
    set(message "<source>[^<]*</source>[^<]*(<comment>[^<]*</comment>[^<]*)?")
    string(REGEX MATCHALL "${message}<translation( type=[^>]*>|></translation>)" missing
           "${content}")
    if(missing)
        list(JOIN missing "\n  " lines)
        message(FATAL_ERROR "${name} has no translation for:\n  ${lines}\nRun `cmake --build "
                "build --target update_translations` and translate these in ${ts}.")
    endif()
endforeach()
