// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The drawer's placement on sway, against a stand-in for sway's IPC socket: the message as sway
// reads it, a window not yet in sway's tree tried again, a newer request taking over.
#include "platform/SwayWindowPlacement.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {
/// Answers each RUN_COMMAND with the next of its answers, recording the commands.
class FakeSway : public QObject
{
public:
    explicit FakeSway(const QString &path, QList<QByteArray> answers)
        : m_answers(std::move(answers))
    {
        m_server.listen(path);
        connect(&m_server, &QLocalServer::newConnection, this, [this] {
            QLocalSocket *socket = m_server.nextPendingConnection();
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        });
    }

    QList<QByteArray> commands;
    QList<std::uint32_t> types;

private:
    void read(QLocalSocket *socket)
    {
        m_buffer += socket->readAll();
        while (m_buffer.size() >= 14 && m_buffer.startsWith("i3-ipc")) {
            std::uint32_t length = 0;
            std::uint32_t type = 0;
            std::memcpy(&length, m_buffer.constData() + 6, 4);
            std::memcpy(&type, m_buffer.constData() + 10, 4);
            if (m_buffer.size() < 14 + qsizetype(length))
                return;
            commands << m_buffer.mid(14, length);
            types << type;
            m_buffer.remove(0, 14 + length);
            const QByteArray answer = m_answers.isEmpty() ? QByteArray(R"([{"success": true}])")
                                                          : m_answers.takeFirst();
            socket->write(SwayWindowPlacement::commandMessage(answer));
        }
    }

    QLocalServer m_server;
    QList<QByteArray> m_answers;
    QByteArray m_buffer;
};

const QByteArray noMatch = R"([{"success": false, "error": "No matching node."}])";
} // namespace

class tst_SwayWindowPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aWindowNotYetInTheTreeIsTriedAgain()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sway-ipc.sock"));
        FakeSway sway(path, {noMatch, noMatch});
        SwayWindowPlacement placement(path);
        QSignalSpy placed(&placement, &SwayWindowPlacement::placed);
        placement.place(0x600006, QPoint(1040, 150));
        QVERIFY(placed.wait(5000));
        const QByteArray command = "[id=6291462] move absolute position 1040 150";
        QCOMPARE(sway.commands, QList<QByteArray>({command, command, command}));
        QCOMPARE(sway.types, QList<std::uint32_t>({0, 0, 0}));
    }

    // While sway has not answered, only the latest place counts.
    void theLatestRequestWins()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sway-ipc.sock"));
        FakeSway sway(path, {noMatch});
        SwayWindowPlacement placement(path);
        QSignalSpy placed(&placement, &SwayWindowPlacement::placed);
        placement.place(7, QPoint(1, 2));
        placement.place(7, QPoint(3, 4));
        QVERIFY(placed.wait(5000));
        QCOMPARE(sway.commands.constLast(), QByteArray("[id=7] move absolute position 3 4"));
        QCOMPARE(placed.count(), 1);
    }

    // A reply whose header claims 4 GB is dropped with its connection, never buffered.
    void anOversizedReplyIsDropped()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sway-ipc.sock"));
        QLocalServer server;
        QVERIFY(server.listen(path));
        SwayWindowPlacement placement(path);
        placement.place(7, QPoint(1, 2));
        QVERIFY(server.waitForNewConnection(5000));
        QLocalSocket *sway = server.nextPendingConnection();
        QByteArray header = SwayWindowPlacement::commandMessage(QByteArray());
        const std::uint32_t claimed = 0xFFFFFFFF;
        std::memcpy(header.data() + 6, &claimed, sizeof claimed);
        sway->write(header + QByteArray(2 * 1024 * 1024, '['));
        QSignalSpy gone(sway, &QLocalSocket::disconnected);
        QVERIFY(gone.wait(5000));
    }
};

QTEST_GUILESS_MAIN(tst_SwayWindowPlacement)
#include "tst_SwayWindowPlacement.moc"
