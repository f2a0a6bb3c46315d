# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Makes the manual page and the bash completion in OUT from the built binary's own option table,
# so that they never drift from `jotshelf --help`, and the package's changelog from NEWS.
#   cmake -DBINARY=<jotshelf> -DOUT=<folder> -DNEWS=<NEWS> -DVERSION_FILE=<version.cmake>
#         -DMAINTAINER=<name <mail>> -P GenerateDocs.cmake
include(${CMAKE_CURRENT_LIST_DIR}/News.cmake)
include("${VERSION_FILE}")

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

# One entry of a Debian changelog, its changes wrapped to 76 columns.
function(changelog_entry version epoch items out)
    set(text "jotshelf (${version}) unstable; urgency=medium\n\n")
    foreach(item IN LISTS items)
        string(REGEX MATCHALL "[^ ]+" words "${item}")
        set(line "  *")
        foreach(word IN LISTS words)
            string(LENGTH "${line} ${word}" length)
            if(length GREATER 76)
                string(APPEND text "${line}\n")
                set(line "   ")
            endif()
            string(APPEND line " ${word}")
        endforeach()
        string(APPEND text "${line}\n")
    endforeach()
    jotshelf_format_epoch("${epoch}" "%a, %d %b %Y %H:%M:%S +0000" date)
    string(APPEND text "\n -- ${MAINTAINER}  ${date}\n")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

jotshelf_read_news("${NEWS}" news)
list(GET news_VERSIONS 0 release)
set(changelog "")
# A build between releases is an entry of its own, dated by its commit.
if(NOT JOTSHELF_FULL_VERSION STREQUAL release)
    string(REGEX REPLACE ".*\\." "" commit "${JOTSHELF_FULL_VERSION}")
    changelog_entry("${JOTSHELF_FULL_VERSION}" "${JOTSHELF_VERSION_EPOCH}"
                    "Snapshot of commit ${commit}, after release ${release}." entry)
    string(APPEND changelog "${entry}\n")
endif()
foreach(version date IN ZIP_LISTS news_VERSIONS news_DATES)
    jotshelf_epoch_of_date("${date}" epoch)
    changelog_entry("${version}" "${epoch}" "${news_ITEMS_${version}}" entry)
    string(APPEND changelog "${entry}\n")
endforeach()
string(STRIP "${changelog}" changelog)
file(WRITE "${OUT}/changelog" "${changelog}\n")

# Debian wants both compressed with gzip -9, without a name or time stamp in the header.
foreach(name jotshelf.1 changelog)
    execute_process(COMMAND gzip -9nf "${OUT}/${name}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "gzip ${name} failed: ${result}")
    endif()
endforeach()
