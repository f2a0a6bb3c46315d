// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/CommandLine.h"
#include "instance/InstanceServer.h"
#include "instance/Launch.h"
#include "instance/SingleInstance.h"
#include "platform/AppInfo.h"
#include "platform/ConsoleOutput.h"
#include "platform/PlatformChoice.h"
#include "platform/QtScreenSource.h"
#include "storage/NoteStore.h"
#include "storage/SettingsStore.h"
#include "tray/DialogPrompts.h"
#include "tray/JotshelfApp.h"
#include "tray/Subsystems.h"

#include <QApplication>
#include <QFileInfo>

#include <malloc.h>

#include <clocale>
#include <csignal>
#include <cstdlib>

namespace {

int fail(const QString &message)
{
    ConsoleOutput::printError(message);
    return EXIT_FAILURE;
}

} // namespace

int main(int argc, char *argv[])
{
    // Buffers of a megabyte or more (a long note, its copies while it is read and written) go
    // back to the system when freed. Left to itself glibc raises this bar to the largest block
    // freed so far, and the next note-sized blocks then stay in the heap after they are freed.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);

    // A file-size limit (ulimit -f) would end the process at the first write past it, losing
    // the note: ignored, the write fails (EFBIG) and is handled like one on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);

    // Until this process knows it is the instance it opens no display: a command for the
    // running instance works from any shell.
    const CommandLine commandLine = CommandLine::parse(CommandLine::argumentsOf(argc, argv));
    if (commandLine.action() != CommandLine::Action::Run)
        return commandLine.report();

    QString error;
    QString warning;
    // The lock lives with the note, so that every launch for this note finds the same one.
    const QString noteFolder = QFileInfo(SettingsStore::defaultFilePath()).absolutePath();
    const auto paths = InstancePaths::fromEnvironment(noteFolder, &error, &warning);
    if (!warning.isEmpty())
        ConsoleOutput::printError(warning);
    if (!paths)
        return fail(error);
    SingleInstance instance(*paths);
    const auto exitCode = Launch(commandLine, instance).run(argc, argv);
    if (!instance.warning().isEmpty())
        ConsoleOutput::printError(instance.warning());
    if (exitCode)
        return *exitCode;

    if (!Launch::raiseFileLimit(&error))
        return fail(error);
    if (!Launch::hasDisplay(commandLine))
        return fail(QStringLiteral("no display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                                   "start it from a desktop session"));

    // This process is the instance: a long note is read and decoded while the application
    // connects to the display and builds its windows.
    auto note = NoteStore::readInBackground(SettingsStore::defaultFilePath());

    PlatformChoice::preferXcbOnWayland(commandLine.platform());
    QApplication application(argc, argv);
    // QApplication gave the C library the user's locale; its messages (strerror) end up in
    // console lines, which stay English whatever the language of the windows.
    std::setlocale(LC_MESSAGES, "C");
    QApplication::setOrganizationName(QStringLiteral("Jotshelf"));
    QApplication::setApplicationName(QStringLiteral("Jotshelf"));
    QApplication::setApplicationVersion(AppInfo::version());
    // The desktop file, the icon and the portal's app id; the settings folder keeps its name.
    QApplication::setDesktopFileName(AppInfo::appId());
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(JotshelfApp::icon());

    InstanceServer server;
    if (!server.listen(paths->socketPath(), &error))
        return fail(error);
    // A launch whose runtime folder differs from this one's finds the socket through the file.
    if (!instance.publishAddress(&error))
        ConsoleOutput::printError(error);

    AppServices services;
    services.store = std::make_unique<SettingsStore>(SettingsStore::defaultFilePath());
    services.notes = std::make_unique<NoteStore>(*services.store, std::move(note));
    // Starting without it would write an empty note over the one that could not be read.
    for (const QString &unreadable : {services.store->unreadable(), services.notes->unreadable()}) {
        if (!unreadable.isEmpty())
            return fail(unreadable
                        + QStringLiteral("; Jotshelf did not start, so as not to write over "
                                         "it, and left it as it is"));
    }
    services.screens = std::make_shared<QtScreenSource>();
    services.hotkeys = PlatformChoice::createHotkeyBackend();
    services.prompts = std::make_unique<DialogPrompts>();
    services.console = ConsoleOutput::printLine;
    Subsystems::provide(services);
    JotshelfApp jotshelf(std::move(services));
    server.setHandler(
        [&jotshelf](const InstanceRequest &request) { return jotshelf.handleRequest(request); });
    if (commandLine.startHidden())
        jotshelf.keepDrawerClosedAtStart();
    if (const auto command = commandLine.command()) {
        QMetaObject::invokeMethod(
            &jotshelf, [&jotshelf, command] { jotshelf.runStartCommand(*command); },
            Qt::QueuedConnection);
    }

    return application.exec();
}
