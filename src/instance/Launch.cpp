// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/Launch.h"

#include "platform/ConsoleOutput.h"
#include "storage/NoteFile.h"
#include "storage/NoteStore.h"
#include "storage/PrivateFile.h"
#include "storage/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

namespace {

int fail(const QString &message)
{
    ConsoleOutput::printError(message);
    return EXIT_FAILURE;
}

int timedOut(InstanceCommand command, const QString &error)
{
    ConsoleOutput::printError(
        QStringLiteral("the running Jotshelf took the command but gave %1 (is it stopped?); %2")
            .arg(error,
                 command == InstanceCommand::Append
                     ? QStringLiteral("it may still be appended")
                     : QStringLiteral("it may still be carried out")));
    return Launch::exitMayStillHappen;
}

QString tooLong()
{
    return QStringLiteral("the text is longer than %1 MB; nothing was appended")
        .arg(InstanceCommands::maxAppendBytes >> 20);
}

} // namespace

bool Launch::hasDisplay(const CommandLine &commandLine)
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !commandLine.platform().isEmpty();
}

bool Launch::raiseFileLimit(QString *error)
{
    rlimit limit = {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= rlim_t(neededFiles))
        return true;
    if (limit.rlim_max >= rlim_t(neededFiles)) {
        limit.rlim_cur = neededFiles;
        if (::setrlimit(RLIMIT_NOFILE, &limit) == 0)
            return true;
    }
    *error
        = QStringLiteral("cannot start: this process may open only %1 files at once (ulimit "
                         "-n), and Jotshelf needs %2; the note is left as it is")
              .arg(quint64(limit.rlim_max < rlim_t(neededFiles) ? limit.rlim_max : limit.rlim_cur))
              .arg(neededFiles);
    return false;
}

namespace {

// How long a request may take to be answered: a note is written whole before --sync and --quit
// hear back, and --print may bring 16 MB and more.
int answerTimeoutMs(InstanceCommand command)
{
    switch (command) {
    case InstanceCommand::Append:
    case InstanceCommand::Print:
    case InstanceCommand::Quit:
        return 60000;
    default:
        return 5000;
    }
}

} // namespace

Launch::Launch(const CommandLine &commandLine, SingleInstance &instance)
    : m_commandLine(commandLine)
    , m_instance(instance)
{ }

std::optional<QByteArray> Launch::appendText(const CommandLine &commandLine, int argc, char *argv[],
                                             QString *error)
{
    QByteArray text;
    if (!commandLine.words().isEmpty()) {
        // Qt has already decoded the words, replacing what is not UTF-8: look at the bytes.
        for (int i = 1; i < argc; ++i) {
            if (!InstanceCommands::isValidUtf8(QByteArrayView(argv[i]))) {
                *error = QStringLiteral("the text is not valid UTF-8; nothing was appended");
                return std::nullopt;
            }
        }
        text = commandLine.words().join(u' ').toUtf8();
    } else {
        char buffer[65536];
        for (;;) {
            const size_t read = std::fread(buffer, 1, sizeof buffer, stdin);
            text.append(buffer, qsizetype(read));
            if (text.size() > InstanceCommands::maxAppendBytes) {
                *error = tooLong();
                return std::nullopt;
            }
            if (read < sizeof buffer)
                break;
        }
        if (std::ferror(stdin)) {
            *error = QStringLiteral("cannot read standard input; nothing was appended");
            return std::nullopt;
        }
    }
    if (text.size() > InstanceCommands::maxAppendBytes) {
        *error = tooLong();
        return std::nullopt;
    }
    if (!InstanceCommands::isValidUtf8(text)) {
        *error = QStringLiteral("the text is not valid UTF-8; nothing was appended");
        return std::nullopt;
    }
    return text;
}

std::optional<QByteArray> Launch::storedNote(const QString &settingsFile, QString *error)
{
    const QString notePath = NoteStore::fileBeside(settingsFile);
    // Where an older version kept the note, when its own file does not hold it yet.
    for (const QString &path : {notePath, settingsFile}) {
        if (!QFileInfo::exists(path))
            continue;
        if (const QString problem = PrivateFile::problemWith(path); !problem.isEmpty()) {
            *error = QStringLiteral("cannot read the note from %1: %2").arg(path, problem);
            return std::nullopt;
        }
        if (path == notePath) {
            NoteFile file(notePath);
            if (const auto note = file.text(NoteStore::key))
                return note->toUtf8();
        } else {
            const QSettings settings(path, QSettings::IniFormat);
            const QVariant note = settings.value(NoteStore::key);
            if (note.typeId() == QMetaType::QString)
                return note.toString().toUtf8();
        }
    }
    return QByteArray();
}

int Launch::printReply(const QByteArray &bytes)
{
    if (!bytes.isEmpty() && !ConsoleOutput::write(bytes))
        return fail(QStringLiteral("cannot write to standard output"));
    return EXIT_SUCCESS;
}

std::optional<int> Launch::run(int argc, char *argv[])
{
    InstanceRequest request;
    request.command = m_commandLine.request();
    request.sync = m_commandLine.sync();
    if (request.command == InstanceCommand::Toggle || request.command == InstanceCommand::Show
        || request.command == InstanceCommand::Settings)
        request.startupId = InstanceCommands::startupIdFromEnvironment();
    if (request.command == InstanceCommand::Append) {
        QString error;
        const auto text = appendText(m_commandLine, argc, argv, &error);
        if (!text)
            return fail(error);
        request.text = *text;
    }

    // --append starts an instance of its own rather than becoming one, so that it returns;
    // --print reads the note file while it holds the lock, so no instance starts meanwhile.
    using Mode = SingleInstance::Mode;
    const Mode mode = request.command == InstanceCommand::Print ? Mode::MayStart
        : request.command == InstanceCommand::Append            ? Mode::IfRunning
        : m_commandLine.startsInstance()                        ? Mode::MayStart
                                                                : Mode::IfRunning;
    const int timeout = answerTimeoutMs(request.command);
    switch (m_instance.claimOrDeliver(request, mode, SingleInstance::defaultPatienceMs, timeout)) {
    case SingleInstance::Outcome::Delivered:
        return request.command == InstanceCommand::Print ? printReply(m_instance.reply())
                                                         : EXIT_SUCCESS;
    case SingleInstance::Outcome::NotRunning:
        if (request.command == InstanceCommand::Append)
            return deliverAfterStart(request);
        // Still a success (what was asked for holds), said on standard error so that a
        // pipeline reading standard output never takes it for the note.
        ConsoleOutput::writeError("Jotshelf is not running.\n");
        return EXIT_SUCCESS;
    case SingleInstance::Outcome::Failed:
        return fail(m_instance.errorString());
    case SingleInstance::Outcome::TimedOut:
        return timedOut(request.command, m_instance.errorString());
    case SingleInstance::Outcome::Primary:
        break;
    }
    if (request.command == InstanceCommand::Print) {
        QString error;
        const auto note = storedNote(SettingsStore::defaultFilePath(), &error);
        return note ? printReply(*note) : fail(error);
    }
    return std::nullopt;
}

int Launch::deliverAfterStart(const InstanceRequest &request)
{
    if (!hasDisplay(m_commandLine))
        return fail(QStringLiteral("Jotshelf is not running and cannot start here: no display "
                                   "found (DISPLAY and WAYLAND_DISPLAY are unset); nothing was "
                                   "appended"));
    // The instance outlives this launch: it must not hold the launch's standard channels, or a
    // pipe reading them would wait for it.
    QProcess process;
    process.setProgram(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    // Qt's own options that name the display go along; the command stays here.
    process.setArguments(QStringList {QStringLiteral("--start-hidden")}
                         + m_commandLine.displayArguments());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setWorkingDirectory(QDir::rootPath());
    if (!process.startDetached())
        return fail(QStringLiteral("cannot start Jotshelf: %1; nothing was appended")
                        .arg(process.errorString()));
    switch (m_instance.claimOrDeliver(request, SingleInstance::Mode::WaitForStart, startPatienceMs,
                                      answerTimeoutMs(request.command))) {
    case SingleInstance::Outcome::Delivered:
        return EXIT_SUCCESS;
    case SingleInstance::Outcome::TimedOut:
        return timedOut(request.command, m_instance.errorString());
    default:
        return fail(m_instance.errorString());
    }
}
