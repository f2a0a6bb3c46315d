# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installation (`cmake --install`, `make install`) and the Debian package (`make package`).
include(GNUInstallDirs)

install(TARGETS jotshelf RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/jotshelf.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/jotshelf.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/resources/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/jotshelf)

set(JOTSHELF_MAINTAINER "Jotshelf maintainers <maintainers@users.noreply.c-seed-eb013384.example>"
    CACHE STRING "The Maintainer field of the Debian package")
set(JOTSHELF_RELEASE_DATE "Wed, 09 Dec 2026 00:00:00 +0000"
    CACHE STRING "The date of this version in the package's changelog")

# jotshelf(1), the bash completion and the changelog, made by the binary from its option table.
set(JOTSHELF_DOCS ${CMAKE_BINARY_DIR}/docs)
add_custom_command(
    OUTPUT ${JOTSHELF_DOCS}/jotshelf.1.gz ${JOTSHELF_DOCS}/jotshelf.bash-completion
           ${JOTSHELF_DOCS}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -DBINARY=$<TARGET_FILE:jotshelf> -DOUT=${JOTSHELF_DOCS}
            -DVERSION=${PROJECT_VERSION} -DMAINTAINER=${JOTSHELF_MAINTAINER}
            -DDATE=${JOTSHELF_RELEASE_DATE} -P ${PROJECT_SOURCE_DIR}/cmake/GenerateDocs.cmake
    DEPENDS jotshelf ${PROJECT_SOURCE_DIR}/cmake/GenerateDocs.cmake
    COMMENT "Making jotshelf(1) and the bash completion from jotshelf's options"
    VERBATIM)
add_custom_target(jotshelf_docs ALL
    DEPENDS ${JOTSHELF_DOCS}/jotshelf.1.gz ${JOTSHELF_DOCS}/jotshelf.bash-completion
            ${JOTSHELF_DOCS}/changelog.gz)
install(FILES ${JOTSHELF_DOCS}/jotshelf.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${JOTSHELF_DOCS}/jotshelf.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME jotshelf)
install(FILES ${JOTSHELF_DOCS}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/jotshelf)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME jotshelf)
set(CPACK_PACKAGE_VENDOR Jotshelf)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Debian wants the synopsis without an article.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Quick-note drawer that lives in the system tray")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${JOTSHELF_MAINTAINER}")
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
