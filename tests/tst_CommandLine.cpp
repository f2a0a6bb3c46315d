#include "instance/CommandLine.h"

#include <QTest>

class tst_CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<int>("command"); // -1: none
        QTest::addColumn<bool>("startsInstance");
        QTest::addColumn<QString>("text");

        using A = CommandLine::Action;
        const int none = -1;
        auto c = [](InstanceCommand command) { return int(command); };
        QTest::newRow("plain launch") << QStringList() << A::Run << none << true << QString();
        QTest::newRow("toggle") << QStringList {"--toggle"} << A::Run << c(InstanceCommand::Toggle)
                                << true << QString();
        QTest::newRow("show") << QStringList {"--show"} << A::Run << c(InstanceCommand::Show)
                              << true << QString();
        QTest::newRow("hide") << QStringList {"--hide"} << A::Run << c(InstanceCommand::Hide)
                              << false << QString();
        QTest::newRow("settings") << QStringList {"--settings"} << A::Run
                                  << c(InstanceCommand::Settings) << true << QString();
        QTest::newRow("quit") << QStringList {"--quit"} << A::Run << c(InstanceCommand::Quit)
                              << false << QString();
        QTest::newRow("single dash")
            << QStringList {"-toggle"} << A::Run << c(InstanceCommand::Toggle) << true << QString();
        QTest::newRow("same twice") << QStringList {"--show", "--show"} << A::Run
                                    << c(InstanceCommand::Show) << true << QString();
        QTest::newRow("Qt's platform option")
            << QStringList {"-platform", "offscreen", "--quit"} << A::Run
            << c(InstanceCommand::Quit) << false << QString();
        QTest::newRow("session restore")
            << QStringList {"-session", "10abc"} << A::Run << none << true << QString();
        QTest::newRow("help") << QStringList {"--help"} << A::PrintHelp << none << true
                              << QStringLiteral("Usage: jotshelf [--toggle | --show");
        QTest::newRow("-h") << QStringList {"-h"} << A::PrintHelp << none << true
                            << QStringLiteral("Usage: jotshelf");
        QTest::newRow("help wins") << QStringList {"--quit", "--help"} << A::PrintHelp << none
                                   << true << QStringLiteral("Usage: jotshelf");
        QTest::newRow("version") << QStringList {"--version"} << A::PrintVersion << none << true
                                 << QStringLiteral("Jotshelf " JOTSHELF_VERSION);
        QTest::newRow("-v") << QStringList {"-v"} << A::PrintVersion << none << true
                            << QStringLiteral("Jotshelf " JOTSHELF_VERSION);
        QTest::newRow("unknown option") << QStringList {"--frobnicate"} << A::Fail << none << true
                                        << QStringLiteral("jotshelf: Unknown option 'frobnicate'.");
        QTest::newRow("two commands") << QStringList {"--toggle", "--quit"} << A::Fail << none
                                      << true << QStringLiteral("not several");
        QTest::newRow("stray argument") << QStringList {"notes.txt"} << A::Fail << none << true
                                        << QStringLiteral("Unexpected argument 'notes.txt'.");
        QTest::newRow("value missing") << QStringList {"-platform"} << A::Fail << none << true
                                       << QStringLiteral("jotshelf: Missing value after");
    }

    void parsing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Action, action);
        QFETCH(int, command);
        QFETCH(bool, startsInstance);
        QFETCH(QString, text);

        arguments.prepend(QStringLiteral("/usr/bin/jotshelf"));
        const CommandLine line = CommandLine::parse(arguments);
        QCOMPARE(line.action(), action);
        QCOMPARE(line.command() ? int(*line.command()) : -1, command);
        QCOMPARE(line.startsInstance(), startsInstance);
        QVERIFY2(line.text().startsWith(text) || line.text().contains(text),
                 qPrintable(line.text()));
        QCOMPARE(line.exitCode(), action == CommandLine::Action::Fail ? 2 : 0);
        // A plain launch asks the running instance to show its drawer.
        QCOMPARE(line.request(), line.command().value_or(InstanceCommand::Show));
    }

    void helpListsTheCommandsButNotQtsOptions()
    {
        const QString help
            = CommandLine::parse({QStringLiteral("jotshelf"), QStringLiteral("--help")}).text();
        for (const char *option :
             {"--toggle", "--show", "--hide", "--settings", "--quit", "--help", "--version"})
            QVERIFY2(help.contains(QLatin1String(option)), option);
        QVERIFY(!help.contains(QLatin1String("platform")));
        QVERIFY(!help.contains(QLatin1String("executable_name")));
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
