// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/CommandLine.h"
#include "instance/CommandLineOptions.h"
#include "instance/ManualPage.h"
#include "platform/AppInfo.h"

#include <QRegularExpression>

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
        const QString version = QStringLiteral("Jotshelf %1\n").arg(AppInfo::version());
        QTest::newRow("version") << QStringList {"--version"} << A::PrintVersion << none << true
                                 << version;
        QTest::newRow("-v") << QStringList {"-v"} << A::PrintVersion << none << true << version;
        QTest::newRow("version with a word")
            << QStringList {"--version", "extra"} << A::Fail << none << true
            << QStringLiteral("Unexpected argument 'extra'.");
        QTest::newRow("unknown option") << QStringList {"--frobnicate"} << A::Fail << none << true
                                        << QStringLiteral("jotshelf: Unknown option 'frobnicate'.");
        QTest::newRow("two commands") << QStringList {"--toggle", "--quit"} << A::Fail << none
                                      << true << QStringLiteral("not several");
        QTest::newRow("stray argument") << QStringList {"notes.txt"} << A::Fail << none << true
                                        << QStringLiteral("Unexpected argument 'notes.txt'.");
        QTest::newRow("print") << QStringList {"--print"} << A::Run << c(InstanceCommand::Print)
                               << false << QString();
        QTest::newRow("append") << QStringList {"--append", "x"} << A::Run
                                << c(InstanceCommand::Append) << true << QString();
        QTest::newRow("sync alone") << QStringList {"--sync"} << A::Fail << none << true
                                    << QStringLiteral("--sync goes with --append.");
        QTest::newRow("print and append") << QStringList {"--print", "--append", "x"} << A::Fail
                                          << none << true << QStringLiteral("not several");
        QTest::newRow("manual") << QStringList {"--man"} << A::PrintManual << none << true
                                << QStringLiteral(".TH JOTSHELF 1");
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

    // Every word after --append is text, so a list item needs no quoting rules; only --sync and
    // "--" right after it are options.
    void appendTakesTheWordsAfterIt_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<bool>("sync");
        QTest::newRow("standard input") << QStringList {"--append"} << QStringList() << false;
        QTest::newRow("a list item")
            << QStringList {"--append", "-", "milk"} << QStringList {"-", "milk"} << false;
        QTest::newRow("options as text")
            << QStringList {"--append", "--quit", "-h"} << QStringList {"--quit", "-h"} << false;
        QTest::newRow("sync first") << QStringList {"--append", "--sync", "call", "Ann"}
                                    << QStringList {"call", "Ann"} << true;
        QTest::newRow("sync after the text is text")
            << QStringList {"-append", "call", "Ann", "--sync"}
            << QStringList {"call", "Ann", "--sync"} << false;
        QTest::newRow("sync before")
            << QStringList {"--sync", "--append", "x"} << QStringList {"x"} << true;
        QTest::newRow("after --") << QStringList {"--append", "--", "--sync"}
                                  << QStringList {"--sync"} << false;
    }

    void appendTakesTheWordsAfterIt()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, words);
        QFETCH(bool, sync);
        arguments.prepend(QStringLiteral("jotshelf"));
        const CommandLine line = CommandLine::parse(arguments);
        QCOMPARE(line.action(), CommandLine::Action::Run);
        QCOMPARE(line.command(), std::optional(InstanceCommand::Append));
        QCOMPARE(line.words(), words);
        QCOMPARE(line.sync(), sync);
    }

    // Qt's options that name the display are read here alone, in every form Qt takes, for the
    // platform choice and an instance that --append starts; after --append they are text.
    void qtsDisplayOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QStringList>("displayArguments");
        const QStringList offscreen = {"-platform", "offscreen"};
        QTest::newRow("none") << QStringList {"--toggle"} << QString() << QStringList();
        QTest::newRow("-platform x") << offscreen << "offscreen" << offscreen;
        QTest::newRow("--platform x")
            << QStringList {"--platform", "offscreen"} << "offscreen" << offscreen;
        QTest::newRow("-platform=x with --append")
            << QStringList {"-platform=offscreen", "--append", "x"} << "offscreen" << offscreen;
        QTest::newRow("--platform=x")
            << QStringList {"--platform=offscreen"} << "offscreen" << offscreen;
        QTest::newRow("display") << QStringList {"-display", ":1", "--show"} << QString()
                                 << QStringList {"-display", ":1"};
        QTest::newRow("text of --append")
            << QStringList {"--append", "-platform", "x"} << QString() << QStringList();
    }

    void qtsDisplayOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, platform);
        QFETCH(QStringList, displayArguments);
        arguments.prepend(QStringLiteral("jotshelf"));
        const CommandLine line = CommandLine::parse(arguments);
        QCOMPARE(line.action(), CommandLine::Action::Run);
        QCOMPARE(line.platform(), platform);
        QCOMPARE(line.displayArguments(), displayArguments);
    }

    void helpListsTheCommandsButNotQtsOptions()
    {
        const QString help
            = CommandLine::parse({QStringLiteral("jotshelf"), QStringLiteral("--help")}).text();
        for (const char *option : {"--toggle", "--show", "--hide", "--settings", "--quit",
                                   "--append", "--sync", "--print", "--help", "--version"})
            QVERIFY2(help.contains(QLatin1String(option)), option);
        QVERIFY(!help.contains(QLatin1String("platform")));
        QVERIFY(!help.contains(QLatin1String("executable_name")));
        QVERIFY(!help.contains(QLatin1String("--man")));
        QVERIFY(!help.contains(QLatin1String("start-hidden")));
    }

    // The manual page and the completion come from the table --help is made of: every option
    // of the help is in both, roff-escaped in the page.
    void manualAndCompletionFollowTheHelp()
    {
        const QString manual
            = CommandLine::parse({QStringLiteral("jotshelf"), QStringLiteral("--man")}).text();
        const QString completion
            = CommandLine::parse({QStringLiteral("jotshelf"), QStringLiteral("--bash-completion")})
                  .text();
        QVERIFY(completion.contains(QLatin1String("complete -F _jotshelf jotshelf")));
        for (const CommandLineOptions::Option &option : CommandLineOptions::all()) {
            const QString name = option.names.constFirst();
            QVERIFY2(
                manual.contains(QStringLiteral("\\fB\\-\\-%1\\fR").arg(ManualPage::escaped(name))),
                qPrintable(name));
            QVERIFY2(completion.contains(QStringLiteral("--") + name), qPrintable(name));
        }
        // Nothing in the page starts a line with a request it did not mean.
        for (const QString &line : manual.split(u'\n')) {
            if (line.startsWith(u'.') || line.startsWith(u'\''))
                QVERIFY2(QRegularExpression(QStringLiteral("^\\.(TH|SH|TP|PP|br|nf|fi)( |$)"))
                             .match(line)
                             .hasMatch(),
                         qPrintable(line));
        }
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
