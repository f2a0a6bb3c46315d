# Installation (`cmake --install`, `make install`) and the Debian package (`make package`).
include(GNUInstallDirs)

install(TARGETS jotshelf RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/jotshelf.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/jotshelf.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/jotshelf)

set(JOTSHELF_MAINTAINER "Jotshelf maintainers <maintainers@users.noreply.c-seed-eb013384.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME jotshelf)
set(CPACK_PACKAGE_VENDOR Jotshelf)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
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

include(CPack)
