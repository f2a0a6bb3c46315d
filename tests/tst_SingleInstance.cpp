// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "LaunchedJotshelf.h"

#include "instance/InstanceServer.h"
#include "instance/SingleInstance.h"
#include "platform/AppInfo.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

class tst_SingleInstance : public QObject
{
    Q_OBJECT

    std::unique_ptr<JotshelfHome> m_home;
    std::optional<InstancePaths> m_paths;

    Finished run(const QStringList &arguments) const { return m_home->run(arguments); }
    std::unique_ptr<LaunchedJotshelf> launchInstance(const QStringList &arguments = {}) const
    {
        return m_home->launchInstance(arguments);
    }

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<JotshelfHome>();
        m_paths = InstancePaths::resolve(m_home->runtimeDir(), m_home->path(), m_home->noteFolder(),
                                         nullptr);
        QVERIFY(m_paths);
    }

    // --- In this process --------------------------------------------------------------------

    void firstLaunchTakesTheLockUntilItEnds()
    {
        {
            SingleInstance first(*m_paths);
            QCOMPARE(first.claimOrDeliver(InstanceCommand::Show, true),
                     SingleInstance::Outcome::Primary);
            QVERIFY(first.isPrimary());
            QVERIFY(QFileInfo::exists(m_paths->lockPath()));
        }
        QVERIFY(!QFileInfo::exists(m_paths->lockPath()));
    }

    void laterLaunchesHandTheirCommandOver()
    {
        SingleInstance first(*m_paths);
        QCOMPARE(first.claimOrDeliver(InstanceCommand::Show, true),
                 SingleInstance::Outcome::Primary);
        InstanceServer server;
        QVERIFY(server.listen(m_paths->socketPath(), nullptr));
        QSignalSpy received(&server, &InstanceServer::commandReceived);

        SingleInstance::Outcome outcome = SingleInstance::Outcome::Failed;
        bool secondIsPrimary = true;
        std::unique_ptr<QThread> thread(QThread::create([&] {
            SingleInstance second(*m_paths);
            outcome = second.claimOrDeliver(InstanceCommand::Toggle, true);
            secondIsPrimary = second.isPrimary();
        }));
        thread->start();
        QTRY_VERIFY_WITH_TIMEOUT(thread->isFinished(), 15000);
        QCOMPARE(outcome, SingleInstance::Outcome::Delivered);
        QVERIFY(!secondIsPrimary);
        QCOMPARE(received.count(), 1);
        QCOMPARE(received.first().first().value<InstanceCommand>(), InstanceCommand::Toggle);
    }

    void commandsThatStartNothing_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("hide") << int(InstanceCommand::Hide);
        QTest::newRow("quit") << int(InstanceCommand::Quit);
    }

    void commandsThatStartNothing()
    {
        QFETCH(int, command);
        SingleInstance launch(*m_paths);
        QCOMPARE(launch.claimOrDeliver(InstanceCommand(command), false),
                 SingleInstance::Outcome::NotRunning);
        QVERIFY(!launch.isPrimary());
        SingleInstance next(*m_paths);
        QCOMPARE(next.claimOrDeliver(InstanceCommand::Show, true),
                 SingleInstance::Outcome::Primary);
    }

    void lockHeldButNobodyListening()
    {
        SingleInstance first(*m_paths);
        QCOMPARE(first.claimOrDeliver(InstanceCommand::Show, true),
                 SingleInstance::Outcome::Primary);
        SingleInstance second(*m_paths);
        QCOMPARE(second.claimOrDeliver(InstanceCommand::Show, true, 200),
                 SingleInstance::Outcome::Failed);
        QVERIFY2(second.errorString().contains(m_paths->lockPath()),
                 qPrintable(second.errorString()));
    }

    // --- The real binary ------------------------------------------------------------------------

    void commandsReachTheRunningInstance()
    {
        auto first = launchInstance();
        QVERIFY2(first->waitForStart(), first->output().constData());

        Finished toggle = run({QStringLiteral("--toggle")});
        QCOMPARE(toggle.exitCode, 0);
        QVERIFY2(first->waitFor(QStringLiteral("🔄 Animating IN from right:")),
                 first->output().constData());
        toggle = run({QStringLiteral("--toggle")});
        QCOMPARE(toggle.exitCode, 0);
        QVERIFY2(first->waitFor(QStringLiteral("🔄 Animating OUT to right:")),
                 first->output().constData());
        QVERIFY(!first->output().contains("🎯"));

        QCOMPARE(run({QStringLiteral("--quit")}).exitCode, 0);
        QVERIFY2(first->finishedWithSuccess(), first->output().constData());
        QVERIFY(!QFileInfo::exists(m_paths->socketPath()));
        QVERIFY(!QFileInfo::exists(m_paths->lockPath()));
    }

    void plainLaunchShowsTheRunningDrawer()
    {
        auto first = launchInstance();
        QVERIFY2(first->waitForStart(), first->output().constData());
        const Finished second = run({});
        QCOMPARE(second.exitCode, 0);
        QVERIFY2(!second.out.contains("hotkey"), second.out.constData());
        QVERIFY2(first->waitFor(QStringLiteral("🔄 Animating IN from right:")),
                 first->output().constData());
        QCOMPARE(run({QStringLiteral("--quit")}).exitCode, 0);
        QVERIFY2(first->finishedWithSuccess(), first->output().constData());
    }

    void crashedInstanceDoesNotBlockTheNext()
    {
        auto crashed = launchInstance();
        QVERIFY2(crashed->waitForStart(), crashed->output().constData());
        crashed->crash();
        QVERIFY(QFileInfo::exists(m_paths->lockPath()));
        QVERIFY(QFileInfo::exists(m_paths->socketPath()));

        // --toggle starts Jotshelf when none runs, then slides the drawer in; without a tray
        // (offscreen has none) the drawer also opens by itself, and the two must not cancel
        // out. The answer to --print comes after the start command ran.
        auto next = launchInstance({QStringLiteral("--toggle")});
        QVERIFY2(next->waitFor(QStringLiteral("🔄 Animating IN from right:")),
                 next->output().constData());
        QCOMPARE(run({QStringLiteral("--print")}).exitCode, 0);
        QVERIFY2(!next->output().contains("Animating OUT"), next->output().constData());
        QCOMPARE(run({QStringLiteral("--hide")}).exitCode, 0);
        QVERIFY2(next->waitFor(QStringLiteral("🔄 Animating OUT to right:")),
                 next->output().constData());
        QCOMPARE(run({QStringLiteral("--quit")}).exitCode, 0);
        QVERIFY2(next->finishedWithSuccess(), next->output().constData());
    }

    // The lock ends with its holder, however it ends, and what the file says never blocks: a
    // lock restored from a backup of another machine, one naming a live process of this one,
    // a crashed instance's. Every launch, --print too, goes on; the file is the user's alone.
    void aLockFileFromElsewhereBlocksNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("another machine")
            << QByteArray("4242\njotshelf\nold-laptop\n0123456789abcdef0123456789abcdef\n");
        QTest::newRow("a live process here") << QByteArray::number(qint64(::getpid()))
                + "\njotshelf\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    }

    void aLockFileFromElsewhereBlocksNothing()
    {
        QFETCH(QByteArray, content);
        QVERIFY(QDir().mkpath(m_home->noteFolder()));
        QFile lock(m_paths->lockPath());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(content);
        lock.close();
        QVERIFY(lock.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                    | QFile::ReadOther));
        QCOMPARE(run({QStringLiteral("--print")}).exitCode, 0);

        auto instance = launchInstance();
        QVERIFY2(instance->waitForStart(), instance->output().constData());
        QCOMPARE(QFileInfo(m_paths->lockPath()).permissions(),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        // Held by a process that is stopped: the launch names the file to delete.
        ::kill(pid_t(instance->process().processId()), SIGSTOP);
        QVERIFY(QFile::remove(m_paths->socketPath()));
        const Finished blocked = run({QStringLiteral("--hide")});
        ::kill(pid_t(instance->process().processId()), SIGCONT);
        QCOMPARE(blocked.exitCode, 1);
        QVERIFY2(blocked.err.contains(QLatin1String("delete ") + m_paths->lockPath()),
                 qPrintable(blocked.err));
        instance->crash();
        QCOMPARE(run({QStringLiteral("--print")}).exitCode, 0);
    }

    void withoutARunningInstance_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("err");
        // What was asked for holds, so these succeed; the line goes to standard error, where a
        // pipeline reading the output never takes it for the note.
        QTest::newRow("hide") << QStringList {"--hide"} << 0 << QByteArray()
                              << QStringLiteral("Jotshelf is not running.\n");
        QTest::newRow("quit") << QStringList {"--quit"} << 0 << QByteArray()
                              << QStringLiteral("Jotshelf is not running.\n");
        QTest::newRow("print") << QStringList {"--print"} << 0 << QByteArray() << QString();
        QTest::newRow("version") << QStringList {"--version"} << 0
                                 << (AppInfo::versionText() + u'\n').toUtf8() << QString();
        QTest::newRow("version with a word")
            << QStringList {"--version", "extra"} << 2 << QByteArray()
            << QStringLiteral("jotshelf: Unexpected argument 'extra'.\n");
        QTest::newRow("unknown option")
            << QStringList {"--frobnicate"} << 2 << QByteArray()
            << QStringLiteral("jotshelf: Unknown option 'frobnicate'.\n");
        // Only an instance needs a display; it says so in one line and leaves no lock behind.
        QTest::newRow("start without a display") << QStringList {"--show"} << 1 << QByteArray()
                                                 << QStringLiteral("jotshelf: no display found");
    }

    void withoutARunningInstance()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        const Finished result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.out, out);
        QVERIFY2(result.err.startsWith(err), qPrintable(result.err));
        QVERIFY(!QFileInfo::exists(m_paths->lockPath()));
    }

    // Help or a version that never reached its reader is no success.
    void helpAndVersionThatCannotBeWrittenFail_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("help") << QStringLiteral("--help");
        QTest::newRow("version") << QStringLiteral("--version");
    }

    void helpAndVersionThatCannotBeWrittenFail()
    {
        QFETCH(QString, option);
        QProcess process;
        process.setProcessEnvironment(m_home->commandEnvironment());
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.start(QStringLiteral(JOTSHELF_BINARY), {option});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        const QByteArray err = process.readAllStandardError();
        QVERIFY2(err.startsWith("jotshelf: cannot write to standard output: "), err.constData());
    }
};

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_SingleInstance.moc"
