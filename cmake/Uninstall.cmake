# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Removes the files an install listed in MANIFEST (install_manifest.txt), then the folders of
# Jotshelf's own that are left empty (share/doc/jotshelf); shared folders stay.
#   cmake -DMANIFEST=<build>/install_manifest.txt -P Uninstall.cmake
if(NOT EXISTS "${MANIFEST}")
    message(FATAL_ERROR "${MANIFEST} is missing: nothing was installed from this build folder")
endif()
file(STRINGS "${MANIFEST}" files)
set(folders "")
foreach(file IN LISTS files)
    if(EXISTS "${file}" OR IS_SYMLINK "${file}")
        message(STATUS "Removing ${file}")
        file(REMOVE "${file}")
        if(EXISTS "${file}")
            message(FATAL_ERROR "cannot remove ${file}")
        endif()
    endif()
    get_filename_component(folder "${file}" DIRECTORY)
    if(folder MATCHES "/doc/jotshelf$")
        list(APPEND folders "${folder}")
    endif()
endforeach()
list(REMOVE_DUPLICATES folders)
foreach(folder IN LISTS folders)
    file(GLOB left "${folder}/*")
    if(IS_DIRECTORY "${folder}" AND left STREQUAL "")
        file(REMOVE_RECURSE "${folder}")
    endif()
endforeach()
