// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/InstanceClient.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

// Stand-ins for a running instance that misbehaves; the happy path is tst_InstanceServer's.
class tst_InstanceClient : public QObject
{
    Q_OBJECT

    QString socketPath() const { return m_dir.filePath(QStringLiteral("jotshelf.socket")); }

    /// Answers each request with \a answer (nothing when empty) and closes the connection.
    void answerWith(QLocalServer &server, const QByteArray &answer)
    {
        connect(&server, &QLocalServer::newConnection, &server, [&server, answer] {
            QLocalSocket *socket = server.nextPendingConnection();
            connect(socket, &QLocalSocket::readyRead, socket, [socket, answer] {
                if (!socket->canReadLine())
                    return;
                socket->write(answer);
                socket->disconnectFromServer();
            });
        });
    }

    /// Sends \a command from a thread of its own while this one serves.
    InstanceClient::Result sendBeside(InstanceClient &client, InstanceCommand command)
    {
        InstanceClient::Result result = InstanceClient::Result::NoInstance;
        std::unique_ptr<QThread> thread(
            QThread::create([&client, &result, command] { result = client.send(command); }));
        thread->start();
        if (!QTest::qWaitFor([&] { return thread->isFinished(); }, 15000))
            qFatal("the client did not return");
        thread->wait();
        return result;
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void nothingListening()
    {
        InstanceClient client(socketPath());
        QCOMPARE(client.send(InstanceCommand::Toggle), InstanceClient::Result::NoInstance);
    }

    void listenerThatNeverAnswers()
    {
        // The kernel accepts the connection and the line; nobody reads them.
        QLocalServer silent;
        QVERIFY(silent.listen(socketPath()));
        InstanceClient client(socketPath());
        // The command was sent: it may still be carried out.
        QCOMPARE(client.send(InstanceCommand::Toggle, 200), InstanceClient::Result::TimedOut);
        QVERIFY2(client.errorString().contains(QLatin1String("no answer")),
                 qPrintable(client.errorString()));
    }

    // An instance older than the launch refuses a command with a startup id: the launch sends
    // the command alone.
    void olderInstanceGetsTheCommandAlone()
    {
        QLocalServer server;
        QVERIFY(server.listen(socketPath()));
        QList<QByteArray> lines;
        connect(&server, &QLocalServer::newConnection, &server, [&server, &lines] {
            QLocalSocket *socket = server.nextPendingConnection();
            connect(socket, &QLocalSocket::readyRead, socket, [socket, &lines] {
                if (!socket->canReadLine())
                    return;
                const QByteArray line = socket->readLine();
                lines << line;
                socket->write(line == "show\n" ? "ok\n" : "error: unknown command\n");
                socket->disconnectFromServer();
            });
        });
        InstanceClient client(socketPath());
        InstanceRequest request;
        request.command = InstanceCommand::Show;
        request.startupId = "id_TIME1";
        InstanceClient::Result result = InstanceClient::Result::Failed;
        std::unique_ptr<QThread> thread(QThread::create([&] { result = client.send(request); }));
        thread->start();
        QTRY_VERIFY_WITH_TIMEOUT(thread->isFinished(), 15000);
        thread->wait();
        QCOMPARE(result, InstanceClient::Result::Delivered);
        QCOMPARE(lines, QList<QByteArray>({"show startup=id_TIME1\n", "show\n"}));
    }

    void answersOtherThanOk_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("error");
        QTest::newRow("refusal") << QByteArray("error: unknown command\n")
                                 << QStringLiteral("unknown command");
        QTest::newRow("garbage") << QByteArray("maybe\n") << QStringLiteral("answered \"maybe\"");
        QTest::newRow("closed without a word")
            << QByteArray() << QStringLiteral("closed without an answer");
    }

    void answersOtherThanOk()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, error);
        QLocalServer server;
        QVERIFY(server.listen(socketPath()));
        answerWith(server, answer);
        InstanceClient client(socketPath());
        QCOMPARE(sendBeside(client, InstanceCommand::Quit), InstanceClient::Result::Failed);
        QVERIFY2(client.errorString().contains(error), qPrintable(client.errorString()));
    }
};

QTEST_GUILESS_MAIN(tst_InstanceClient)
#include "tst_InstanceClient.moc"
