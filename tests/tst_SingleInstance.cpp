#include "instance/InstanceServer.h"
#include "instance/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <optional>
#include <sys/stat.h>

namespace {

/// A `jotshelf` started by the test, whose standard output it reads as it comes.
class Launch
{
public:
    Launch(const QProcessEnvironment &environment, const QStringList &arguments)
    {
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(JOTSHELF_BINARY), arguments);
    }

    ~Launch()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    /// Waits until \a text appears on standard output after what the last wait found.
    bool waitFor(const QString &text, int timeoutMs = 20000)
    {
        return waitForAny({text}, timeoutMs);
    }

    /// Waits for the hot key's first line, printed once the instance listens: whether the key
    /// could be had depends on the platform.
    bool waitForStart()
    {
        return waitForAny({QStringLiteral("❌ Failed to register global hotkey. Status: "),
                           QStringLiteral("✅ Global hotkey")});
    }

    bool waitForAny(const QStringList &texts, int timeoutMs = 20000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            m_output += m_process.readAllStandardOutput();
            for (const QString &text : texts) {
                const QByteArray needle = text.toUtf8();
                const qsizetype at = m_output.indexOf(needle, m_seen);
                if (at >= 0) {
                    m_seen = at + needle.size();
                    return true;
                }
            }
            if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
                return false;
            m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        }
    }

    bool finishedWithSuccess()
    {
        return m_process.waitForFinished(20000) && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
    }

    void crash()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    /// Everything read so far, and the errors, for failure messages.
    QByteArray output()
    {
        m_output += m_process.readAllStandardOutput();
        return m_output + m_process.readAllStandardError();
    }

private:
    QProcess m_process;
    QByteArray m_output;
    qsizetype m_seen = 0;
};

struct Finished
{
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

class tst_SingleInstance : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    std::optional<InstancePaths> m_paths;

    QString runtimeDir() const { return m_home->filePath(QStringLiteral("run")); }
    QString noteFolder() const { return m_home->filePath(QStringLiteral("config/Jotshelf")); }

    /// No display at all: what a shell or a desktop's key binding may have.
    QProcessEnvironment commandEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY",
                                 "XDG_SESSION_TYPE", "DBUS_SESSION_BUS_ADDRESS"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("HOME"), m_home->path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           m_home->filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        return environment;
    }

    QProcessEnvironment instanceEnvironment() const
    {
        QProcessEnvironment environment = commandEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }

    Finished run(const QStringList &arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(commandEnvironment());
        process.start(QStringLiteral(JOTSHELF_BINARY), arguments);
        Finished result;
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        if (process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    std::unique_ptr<Launch> launchInstance(const QStringList &arguments = {}) const
    {
        return std::make_unique<Launch>(instanceEnvironment(), arguments);
    }

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkdir(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        m_paths = InstancePaths::resolve(runtimeDir(), m_home->path(), noteFolder(), nullptr);
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
        QVERIFY2(!second.out.contains(QLatin1String("hotkey")), qPrintable(second.out));
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

        // --toggle starts Jotshelf when none runs, then slides the drawer in.
        auto next = launchInstance({QStringLiteral("--toggle")});
        QVERIFY2(next->waitFor(QStringLiteral("🔄 Animating IN from right:")),
                 next->output().constData());
        QCOMPARE(run({QStringLiteral("--hide")}).exitCode, 0);
        QVERIFY2(next->waitFor(QStringLiteral("🔄 Animating OUT to right:")),
                 next->output().constData());
        QCOMPARE(run({QStringLiteral("--quit")}).exitCode, 0);
        QVERIFY2(next->finishedWithSuccess(), next->output().constData());
    }

    void withoutARunningInstance_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("hide") << QStringList {"--hide"} << 0
                              << QStringLiteral("Jotshelf is not running.\n") << QString();
        QTest::newRow("quit") << QStringList {"--quit"} << 0
                              << QStringLiteral("Jotshelf is not running.\n") << QString();
        QTest::newRow("version") << QStringList {"--version"} << 0
                                 << QStringLiteral("Jotshelf " JOTSHELF_VERSION "\n") << QString();
        QTest::newRow("unknown option")
            << QStringList {"--frobnicate"} << 2 << QString()
            << QStringLiteral("jotshelf: Unknown option 'frobnicate'.\n");
        // Only an instance needs a display; it says so in one line and leaves no lock behind.
        QTest::newRow("start without a display") << QStringList {"--show"} << 1 << QString()
                                                 << QStringLiteral("jotshelf: no display found");
    }

    void withoutARunningInstance()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Finished result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.out, out);
        QVERIFY2(result.err.startsWith(err), qPrintable(result.err));
        QVERIFY(!QFileInfo::exists(m_paths->lockPath()));
    }
};

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_SingleInstance.moc"
