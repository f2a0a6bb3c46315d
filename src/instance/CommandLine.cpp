#include "instance/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <cstdio>

namespace {

QString describe(InstanceCommand command)
{
    switch (command) {
    case InstanceCommand::Toggle:
        return QStringLiteral("Show the drawer when it is hidden, hide it when it is shown (what "
                              "Alt+` does). Starts Jotshelf when it does not run.");
    case InstanceCommand::Show:
        return QStringLiteral("Show the drawer. Starts Jotshelf when it does not run.");
    case InstanceCommand::Hide:
        return QStringLiteral("Hide the drawer.");
    case InstanceCommand::Settings:
        return QStringLiteral("Open the settings window. Starts Jotshelf when it does not run.");
    case InstanceCommand::Quit:
        return QStringLiteral("Quit Jotshelf, after writing whatever still waits to be saved.");
    }
    return {};
}

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
    QCommandLineOption reverse(QStringLiteral("reverse"));
    reverse.setFlags(QCommandLineOption::HiddenFromHelp);
    options << reverse;
    return options;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Jotshelf, a notepad in the system tray.\nWithout an option it starts "
                       "Jotshelf, or shows the drawer of the Jotshelf that runs."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    for (InstanceCommand command : InstanceCommands::all)
        parser.addOption(QCommandLineOption(InstanceCommands::name(command), describe(command)));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOptions(qtOptions());

    CommandLine result;
    auto fail = [&result](const QString &message) {
        result.m_action = Action::Fail;
        result.m_command.reset();
        result.m_text
            = QStringLiteral("jotshelf: %1\nTry 'jotshelf --help' for the options.").arg(message);
        return result;
    };

    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        QString text = parser.helpText().trimmed();
        // The parser names the running executable, or a placeholder before an application
        // object exists; the program is "jotshelf" either way.
        text = text.mid(qMax(0, text.indexOf(QLatin1Char('\n'))));
        result.m_action = Action::PrintHelp;
        result.m_text = QStringLiteral("Usage: jotshelf [--toggle | --show | --hide | --settings | "
                                       "--quit]")
            + text;
        return result;
    }
    if (parser.isSet(version)) {
        result.m_action = Action::PrintVersion;
        result.m_text = QStringLiteral("Jotshelf %1").arg(QStringLiteral(JOTSHELF_VERSION));
        return result;
    }
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty())
        return fail(QStringLiteral("Unexpected argument '%1'.").arg(extra.constFirst()));

    for (InstanceCommand command : InstanceCommands::all) {
        if (!parser.isSet(InstanceCommands::name(command)))
            continue;
        if (result.m_command && *result.m_command != command)
            return fail(QStringLiteral("Give one of --toggle, --show, --hide, --settings and "
                                       "--quit, not several."));
        result.m_command = command;
    }
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
    const QByteArray bytes = m_text.toUtf8() + '\n';
    std::FILE *stream = m_action == Action::Fail ? stderr : stdout;
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
    return exitCode();
}
