# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Makes the manual page, the bash completion and the package's changelog in OUT from the built
# binary's own option table, so that they never drift from `jotshelf --help`.
#   cmake -DBINARY=<jotshelf> -DOUT=<folder> -DVERSION=<x.y.z> -DMAINTAINER=<name <mail>>
#         -DDATE=<RFC 2822 date> -P GenerateDocs.cmake
file(MAKE_DIRECTORY "${OUT}")
foreach(pair "--man;jotshelf.1" "--bash-completion;jotshelf.bash-completion")
    list(GET pair 0 option)
    list(GET pair 1 name)
    execute_process(COMMAND "${BINARY}" ${option} OUTPUT_FILE "${OUT}/${name}"
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${BINARY} ${option} failed: ${result}")
    endif()
endforeach()

file(WRITE "${OUT}/changelog"
"jotshelf (${VERSION}) unstable; urgency=medium

  * Release ${VERSION}: a tray notepad with one note, a drawer on a hot key, and
    jotshelf --append and --print for scripts.

 -- ${MAINTAINER}  ${DATE}
")

# Debian wants both compressed with gzip -9, without a name or time stamp in the header.
foreach(name jotshelf.1 changelog)
    execute_process(COMMAND gzip -9nf "${OUT}/${name}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "gzip ${name} failed: ${result}")
    endif()
endforeach()
