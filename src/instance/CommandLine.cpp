// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/CommandLine.h"

#include "instance/CommandLineOptions.h"
#include "instance/ManualPage.h"
#include "platform/AppInfo.h"
#include "platform/ConsoleOutput.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRegularExpression>

#include <cerrno>

namespace {

// The options QGuiApplication and QApplication take themselves. They reach this parser
// unchanged because it runs before any application object exists.
QList<QCommandLineOption> qtOptions()
{
    QList<QCommandLineOption> options;
    for (const char *name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "session",
          "style", "stylesheet", "qwindowgeometry", "qwindowicon", "qwindowtitle"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        options << option;
    }
    for (const QString &name :
         {QStringLiteral("reverse"), CommandLineOptions::manualOption,
          CommandLineOptions::completionOption, CommandLineOptions::startHiddenOption}) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        options << option;
    }
    return options;
}

bool isOption(const QString &word, QLatin1StringView name)
{
    return word == QLatin1String("--") + name || word == QLatin1String("-") + name;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(CommandLineOptions::summary());
    for (const CommandLineOptions::Option &option : CommandLineOptions::all())
        parser.addOption(QCommandLineOption(option.names, option.description));
    parser.addOptions(qtOptions());

    CommandLine result;
    auto fail = [&result](const QString &message) {
        result.m_action = Action::Fail;
        result.m_command.reset();
        result.m_words.clear();
        result.m_text
            = QStringLiteral("jotshelf: %1\nTry 'jotshelf --help' for the options.").arg(message);
        return result;
    };

    // Everything after --append is its text, but for --sync and a "--" right after it: the parser
    // would take a word such as "- milk" for an option. A --sync after the text is text.
    QStringList options = arguments;
    bool appends = false;
    const qsizetype append = options.indexOf(QRegularExpression(QStringLiteral("^--?append$")));
    if (append > 0) {
        appends = true;
        QStringList words = options.mid(append + 1);
        options = options.first(append);
        bool endOfOptions = false;
        while (!words.isEmpty() && !endOfOptions) {
            if (isOption(words.constFirst(), QLatin1StringView("sync")))
                result.m_sync = true;
            else if (words.constFirst() == QLatin1String("--"))
                endOfOptions = true;
            else
                break;
            words.removeFirst();
        }
        result.m_words = words;
    }

    if (!parser.parse(options))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        QString text = parser.helpText().trimmed();
        // The parser names the running executable, or a placeholder before an application
        // object exists; the program is "jotshelf" either way.
        text = text.mid(qMax(0, text.indexOf(QLatin1Char('\n'))));
        result.m_action = Action::PrintHelp;
        result.m_text = QStringLiteral("Usage: ")
            + CommandLineOptions::synopsis().join(QStringLiteral("\n       ")) + text;
        return result;
    }
    // The help wins over anything else on the line, as GNU's does; the rest take no words.
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty())
        return fail(QStringLiteral("Unexpected argument '%1'.").arg(extra.constFirst()));
    if (parser.isSet(QStringLiteral("version"))) {
        result.m_action = Action::PrintVersion;
        result.m_text = AppInfo::versionText();
        return result;
    }
    if (parser.isSet(CommandLineOptions::manualOption)) {
        result.m_action = Action::PrintManual;
        result.m_text = ManualPage::roff();
        return result;
    }
    if (parser.isSet(CommandLineOptions::completionOption)) {
        result.m_action = Action::PrintCompletion;
        result.m_text = ManualPage::bashCompletion();
        return result;
    }

    for (InstanceCommand command : InstanceCommands::all) {
        const bool named = command == InstanceCommand::Append
            ? appends
            : parser.isSet(InstanceCommands::name(command));
        if (!named)
            continue;
        if (result.m_command && *result.m_command != command)
            return fail(QStringLiteral("Give one of --toggle, --show, --hide, --settings, --quit, "
                                       "--append and --print, not several."));
        result.m_command = command;
    }
    if (parser.isSet(QStringLiteral("sync")))
        result.m_sync = true;
    if (result.m_sync && result.m_command != InstanceCommand::Append)
        return fail(QStringLiteral("--sync goes with --append."));
    result.m_startHidden = parser.isSet(CommandLineOptions::startHiddenOption);
    for (const QString &name : {QStringLiteral("platform"), QStringLiteral("display")}) {
        if (parser.isSet(name))
            result.m_displayArguments << QLatin1Char('-') + name << parser.value(name);
    }
    result.m_platform = parser.value(QStringLiteral("platform"));
    return result;
}

QStringList CommandLine::argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    arguments.reserve(argc);
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int CommandLine::report() const
{
    QByteArray bytes = m_text.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    if (m_action == Action::Fail) {
        ConsoleOutput::writeError(bytes);
        return exitCode();
    }
    // Help or a version that never arrived (a full disk, a closed pipe) is a failure.
    if (!ConsoleOutput::write(bytes)) {
        ConsoleOutput::printError(
            QStringLiteral("cannot write to standard output: %1").arg(qt_error_string(errno)));
        return cannotWrite;
    }
    return exitCode();
}
