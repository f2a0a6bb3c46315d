#include "app/ConsoleOutput.h"
#include "app/DialogPrompts.h"
#include "app/JotshelfApp.h"
#include "app/PlatformChoice.h"
#include "app/SettingsStore.h"
#include "drawer/QtScreenSource.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const bool platformChosen = qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || [&] {
        for (int i = 1; i < argc; ++i) {
            if (qstrcmp(argv[i], "-platform") == 0)
                return true;
        }
        return false;
    }();
    if (!platformChosen && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("jotshelf: no display found (DISPLAY and WAYLAND_DISPLAY are unset); start it "
                   "from a desktop session\n",
                   stderr);
        return EXIT_FAILURE;
    }

    PlatformChoice::preferXcbOnWayland(argc, argv);
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Jotshelf"));
    QApplication::setApplicationName(QStringLiteral("Jotshelf"));
    QApplication::setApplicationVersion(QStringLiteral(JOTSHELF_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("jotshelf"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(JotshelfApp::icon());

    AppServices services;
    services.store = std::make_unique<SettingsStore>(SettingsStore::defaultFilePath());
    services.screens = std::make_shared<QtScreenSource>();
    services.hotkeys = PlatformChoice::createHotkeyBackend();
    services.prompts = std::make_unique<DialogPrompts>();
    services.console = ConsoleOutput::printLine;
    JotshelfApp jotshelf(std::move(services));


    return application.exec();
}
