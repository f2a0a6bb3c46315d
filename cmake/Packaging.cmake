# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installation (`cmake --install`, `make install`) and the Debian package (`make package`).
include(GNUInstallDirs)

# The files the app is known by are named after its id.
install(TARGETS jotshelf RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's) also drops the compilers' notes, as Debian's dh_strip does.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/jotshelf\")
endif()")
install(FILES ${PROJECT_SOURCE_DIR}/resources/${JOTSHELF_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/jotshelf.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${JOTSHELF_APP_ID}.svg)

# The AppStream metainfo, its releases made from NEWS.
string(REPLACE "https://github.com/" "https://raw.githubusercontent.com/" JOTSHELF_SCREENSHOTS
       "${PROJECT_HOMEPAGE_URL}/main/docs")
set(JOTSHELF_RELEASES "")
foreach(version date IN ZIP_LISTS JOTSHELF_NEWS_VERSIONS JOTSHELF_NEWS_DATES)
    string(APPEND JOTSHELF_RELEASES
           "    <release version=\"${version}\" date=\"${date}\">\n"
           "      <description>\n        <ul>\n")
    foreach(item IN LISTS JOTSHELF_NEWS_ITEMS_${version})
        string(REPLACE "&" "&amp;" item "${item}")
        string(REPLACE "<" "&lt;" item "${item}")
        string(REPLACE ">" "&gt;" item "${item}")
        string(APPEND JOTSHELF_RELEASES "          <li>${item}</li>\n")
    endforeach()
    string(APPEND JOTSHELF_RELEASES "        </ul>\n      </description>\n    </release>\n")
endforeach()
string(STRIP "${JOTSHELF_RELEASES}" JOTSHELF_RELEASES)
string(PREPEND JOTSHELF_RELEASES "    ")
set(JOTSHELF_METAINFO ${CMAKE_BINARY_DIR}/${JOTSHELF_APP_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/resources/${JOTSHELF_APP_ID}.metainfo.xml.in
               ${JOTSHELF_METAINFO} @ONLY)
install(FILES ${JOTSHELF_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The README as installed: its pictures and its other pages are not shipped, so its links to
# them point at the project's pages.
file(READ ${PROJECT_SOURCE_DIR}/README.md readme)
string(REGEX REPLACE "\\]\\(docs/([^)]*\\.png)\\)" "](${JOTSHELF_SCREENSHOTS}/\\1)" readme
       "${readme}")
string(REGEX REPLACE "\\]\\(docs/([^)]*)\\)" "](${PROJECT_HOMEPAGE_URL}/blob/main/docs/\\1)" readme
       "${readme}")
file(WRITE ${CMAKE_BINARY_DIR}/doc/README.md.new "${readme}")
file(COPY_FILE ${CMAKE_BINARY_DIR}/doc/README.md.new ${CMAKE_BINARY_DIR}/doc/README.md
     ONLY_IF_DIFFERENT)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README.md)
configure_file(${PROJECT_SOURCE_DIR}/resources/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright
               @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/doc/README.md ${CMAKE_BINARY_DIR}/doc/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/jotshelf)

# jotshelf(1), the bash completion and the changelog, made by the binary from its option table
# and from NEWS.
set(JOTSHELF_DOCS ${CMAKE_BINARY_DIR}/docs)
add_custom_command(
    OUTPUT ${JOTSHELF_DOCS}/jotshelf.1.gz ${JOTSHELF_DOCS}/jotshelf.bash-completion
           ${JOTSHELF_DOCS}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -DBINARY=$<TARGET_FILE:jotshelf> -DOUT=${JOTSHELF_DOCS}
            -DNEWS=${PROJECT_SOURCE_DIR}/NEWS -DVERSION_FILE=${JOTSHELF_GENERATED}/version.cmake
            -DMAINTAINER=${JOTSHELF_MAINTAINER} -P ${PROJECT_SOURCE_DIR}/cmake/GenerateDocs.cmake
    DEPENDS jotshelf ${PROJECT_SOURCE_DIR}/cmake/GenerateDocs.cmake ${PROJECT_SOURCE_DIR}/NEWS
            ${JOTSHELF_GENERATED}/version.cmake
    COMMENT "Making jotshelf(1), the bash completion and the changelog"
    VERBATIM)
add_custom_target(jotshelf_docs ALL
    DEPENDS ${JOTSHELF_DOCS}/jotshelf.1.gz ${JOTSHELF_DOCS}/jotshelf.bash-completion
            ${JOTSHELF_DOCS}/changelog.gz)
install(FILES ${JOTSHELF_DOCS}/jotshelf.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${JOTSHELF_DOCS}/jotshelf.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME jotshelf)
install(FILES ${JOTSHELF_DOCS}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/jotshelf)

# `make uninstall` (the target `uninstall`) removes what the last `make install` put in place,
# as listed in install_manifest.txt.
add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
            -P ${PROJECT_SOURCE_DIR}/cmake/Uninstall.cmake
    VERBATIM)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME jotshelf)
set(CPACK_PACKAGE_VENDOR Jotshelf)
# The version of the build is known only once it ran (a commit changes it without CMake running
# again): CPack reads it, and the time the package's files carry, from the build folder.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackBuildVersion.cmake)
file(CONFIGURE OUTPUT ${CPACK_PROJECT_CONFIG_FILE} CONTENT
"include(\"${JOTSHELF_GENERATED}/version.cmake\")
set(CPACK_PACKAGE_VERSION \"\${JOTSHELF_FULL_VERSION}\")
set(CPACK_DEBIAN_PACKAGE_VERSION \"\${JOTSHELF_FULL_VERSION}\")
if(\"\$ENV{SOURCE_DATE_EPOCH}\" STREQUAL \"\")
    set(ENV{SOURCE_DATE_EPOCH} \"\${JOTSHELF_VERSION_EPOCH}\")
endif()
" @ONLY)
# Debian wants the synopsis without an article.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Quick-note drawer that lives in the system tray")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${JOTSHELF_MAINTAINER}")
# The bug address is in the metainfo and the manual page: Debian's Bugs field is for its own
# tracker (lintian warns of any other).
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary is the first line of the Description field; these lines follow it.
set(CPACK_PACKAGE_DESCRIPTION
    "Jotshelf keeps one plain-text note in a borderless drawer that slides in
from an edge of the screen with Alt+` (or `jotshelf --toggle` bound to a
key of your own) and slides away again. The note and the settings are
saved by themselves. Lists continue as you type, Ctrl+K inserts a
Markdown link, and a settings window adjusts size, opacity, margins and
colours.")
# The libraries come from dpkg-shlibdeps; the plugins Qt loads at run time (the platform
# themes, the SVG icon engine) are not linked, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
# Jotshelf's own translations are built in; Qt's (standard buttons, file dialog, key names) come
# from this package.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
