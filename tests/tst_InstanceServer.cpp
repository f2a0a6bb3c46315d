// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestFiles.h"
#include "instance/InstanceClient.h"
#include "instance/InstancePaths.h"
#include "instance/InstanceServer.h"

#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// The server needs the event loop of this thread while a client blocks, so each client runs on
// a thread of its own.
class tst_InstanceServer : public QObject
{
    Q_OBJECT

    std::optional<InstancePaths> m_paths;
    std::unique_ptr<QTemporaryDir> m_runtime;

    /// Runs \a work on a thread and spins this thread's event loop until it is done.
    template<typename Work>
    void runBeside(Work work)
    {
        std::unique_ptr<QThread> thread(QThread::create(work));
        thread->start();
        QTRY_VERIFY_WITH_TIMEOUT(thread->isFinished(), 15000);
        thread->wait();
    }

private Q_SLOTS:
    void init()
    {
        m_runtime = std::make_unique<QTemporaryDir>();
        QVERIFY(::chmod(QFile::encodeName(m_runtime->path()).constData(), 0700) == 0);
        m_paths = InstancePaths::resolve(m_runtime->path(), m_runtime->path(), m_runtime->path(),
                                         nullptr);
        QVERIFY(m_paths);
    }

    void eachCommandIsCarriedOutBeforeTheAnswer_data()
    {
        QTest::addColumn<int>("command");
        for (InstanceCommand command : InstanceCommands::all)
            QTest::newRow(qPrintable(InstanceCommands::name(command))) << int(command);
    }

    void eachCommandIsCarriedOutBeforeTheAnswer()
    {
        QFETCH(int, command);
        InstanceServer server;
        QString error;
        QVERIFY2(server.listen(m_paths->socketPath(), &error), qPrintable(error));

        std::atomic_bool clientReturned = false;
        bool answeredEarly = false;
        QList<InstanceCommand> received;
        connect(&server, &InstanceServer::commandReceived, this, [&](InstanceCommand c) {
            received << c;
            answeredEarly = clientReturned;
        });
        InstanceClient::Result result = InstanceClient::Result::Failed;
        runBeside([&] {
            result = InstanceClient(m_paths->socketPath()).send(InstanceCommand(command));
            clientReturned = true;
        });
        QCOMPARE(result, InstanceClient::Result::Delivered);
        QCOMPARE(received, QList<InstanceCommand>({InstanceCommand(command)}));
        QVERIFY(!answeredEarly);
    }

    // A launch from a desktop's shortcut hands its startup id to the instance with the command.
    void startupIdIsHandedOver()
    {
        InstanceServer server;
        QVERIFY(server.listen(m_paths->socketPath(), nullptr));
        QList<QByteArray> ids;
        server.setHandler([&ids](const InstanceRequest &request) {
            ids << request.startupId;
            return InstanceReply {};
        });
        InstanceRequest request;
        request.command = InstanceCommand::Toggle;
        request.startupId = "xfce4-panel-42-host-jotshelf_TIME1234";
        InstanceClient::Result withId = InstanceClient::Result::Failed;
        InstanceClient::Result without = InstanceClient::Result::Failed;
        runBeside([&] {
            withId = InstanceClient(m_paths->socketPath()).send(request);
            without = InstanceClient(m_paths->socketPath()).send(InstanceCommand::Show);
        });
        QCOMPARE(withId, InstanceClient::Result::Delivered);
        QCOMPARE(without, InstanceClient::Result::Delivered);
        QCOMPARE(ids, QList<QByteArray>({request.startupId, QByteArray()}));
    }

    // A launch that gave up waiting (the instance was stopped, SIGSTOP) says the command may
    // still be carried out; the instance, running again, finds it gone and drops the command,
    // so that a script that retries does not append twice.
    void aCommandWhoseLaunchGaveUpIsDropped()
    {
        InstanceServer server;
        QVERIFY(server.listen(m_paths->socketPath(), nullptr));
        QStringList appended;
        server.setHandler([&appended](const InstanceRequest &request) {
            appended << QString::fromUtf8(request.text);
            return InstanceReply {};
        });
        InstanceRequest request;
        request.command = InstanceCommand::Append;
        request.text = "milk";
        InstanceClient::Result result = InstanceClient::Result::Delivered;
        // This thread's event loop stands still meanwhile, as a stopped instance's does.
        std::unique_ptr<QThread> stopped(QThread::create(
            [&] { result = InstanceClient(m_paths->socketPath()).send(request, 300); }));
        stopped->start();
        QVERIFY(stopped->wait(15000));
        QCOMPARE(result, InstanceClient::Result::TimedOut);
        QTest::qWait(200);
        QCOMPARE(appended, QStringList());

        request.text = "eggs";
        runBeside([&] { result = InstanceClient(m_paths->socketPath()).send(request); });
        QCOMPARE(result, InstanceClient::Result::Delivered);
        QCOMPARE(appended, QStringList {QStringLiteral("eggs")});
    }

    void socketIsOpenToTheUserOnly()
    {
        InstanceServer server;
        QString error;
        QVERIFY2(server.listen(m_paths->socketPath(), &error), qPrintable(error));
        const mode_t socket = TestFiles::modeOf(m_paths->socketPath());
        QVERIFY(S_ISSOCK(socket));
        QCOMPARE(socket & (S_IRWXG | S_IRWXO), mode_t(0));
        QCOMPARE(socket & (S_IRUSR | S_IWUSR), mode_t(S_IRUSR | S_IWUSR));
        QCOMPARE(TestFiles::modeOf(m_paths->folder()) & 07777, mode_t(0700));
    }

    // After a crash the socket file stays; the next instance (holding the lock) takes its place.
    void socketLeftByACrashIsReplaced()
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(m_paths->socketPath());
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
        QVERIFY(S_ISSOCK(TestFiles::modeOf(m_paths->socketPath())));
        QCOMPARE(InstanceClient(m_paths->socketPath()).send(InstanceCommand::Show),
                 InstanceClient::Result::NoInstance);

        InstanceServer server;
        QString error;
        QVERIFY2(server.listen(m_paths->socketPath(), &error), qPrintable(error));
        QSignalSpy received(&server, &InstanceServer::commandReceived);
        InstanceClient::Result result = InstanceClient::Result::Failed;
        runBeside(
            [&] { result = InstanceClient(m_paths->socketPath()).send(InstanceCommand::Hide); });
        QCOMPARE(result, InstanceClient::Result::Delivered);
        QCOMPARE(received.count(), 1);
    }

    void unknownWordsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("unknown") << QByteArray("frobnicate\n");
        QTest::newRow("wrong case") << QByteArray("Toggle\n");
        QTest::newRow("too long") << QByteArray(400, 't');
        QTest::newRow("empty startup id") << QByteArray("show startup=\n");
        QTest::newRow("startup id on append") << QByteArray("append 1 startup=x\n");
    }

    void unknownWordsAreRefused()
    {
        QFETCH(QByteArray, request);
        InstanceServer server;
        QVERIFY(server.listen(m_paths->socketPath(), nullptr));
        QSignalSpy received(&server, &InstanceServer::commandReceived);
        QByteArray answer;
        runBeside([&] {
            QLocalSocket socket;
            socket.connectToServer(m_paths->socketPath());
            if (!socket.waitForConnected(5000))
                return;
            socket.write(request);
            socket.waitForBytesWritten(5000);
            while (!socket.canReadLine() && socket.waitForReadyRead(5000)) { }
            answer = socket.readLine();
        });
        QVERIFY2(answer.startsWith("error: "), answer.constData());
        QCOMPARE(received.count(), 0);
    }

    // A clean end removes the socket, so the next launch does not knock on a dead door.
    void closingRemovesTheSocket()
    {
        {
            InstanceServer server;
            QVERIFY(server.listen(m_paths->socketPath(), nullptr));
            QVERIFY(QFileInfo::exists(m_paths->socketPath()));
        }
        QVERIFY(!QFileInfo::exists(m_paths->socketPath()));
    }
};

QTEST_GUILESS_MAIN(tst_InstanceServer)
#include "tst_InstanceServer.moc"
