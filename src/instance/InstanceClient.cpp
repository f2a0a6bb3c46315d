// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/InstanceClient.h"

#include <QDeadlineTimer>
#include <QLocalSocket>

InstanceClient::InstanceClient(QString socketPath)
    : m_socketPath(std::move(socketPath))
{ }

InstanceClient::Result InstanceClient::send(InstanceCommand command, int timeoutMs)
{
    InstanceRequest request;
    request.command = command;
    return send(request, timeoutMs);
}

InstanceClient::Result InstanceClient::send(const InstanceRequest &request, int timeoutMs)
{
    const Result result = exchange(request, timeoutMs);
    // An instance older than this launch refuses the startup id: it gets the command alone.
    if (result == Result::Failed && !request.startupId.isEmpty()
        && m_error == QLatin1String("unknown command")) {
        InstanceRequest plain = request;
        plain.startupId.clear();
        return exchange(plain, timeoutMs);
    }
    return result;
}

InstanceClient::Result InstanceClient::exchange(const InstanceRequest &request, int timeoutMs)
{
    m_error.clear();
    m_reply.clear();
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) {
        switch (socket.error()) {
        case QLocalSocket::ServerNotFoundError:
        case QLocalSocket::ConnectionRefusedError:
            return Result::NoInstance;
        default:
            m_error = socket.errorString();
            return Result::Failed;
        }
    }

    QByteArray line = InstanceCommands::name(request.command).toUtf8();
    if (request.command == InstanceCommand::Append) {
        line += ' ' + QByteArray::number(request.text.size());
        if (request.sync)
            line += " sync";
    } else if (InstanceCommands::isValidStartupId(request.startupId)) {
        line += " startup=" + request.startupId;
    }
    socket.write(line + '\n');
    if (request.command == InstanceCommand::Append)
        socket.write(request.text);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) {
            m_error = QStringLiteral("cannot send the command: %1").arg(socket.errorString());
            return Result::Failed;
        }
    }
    bool timedOut = false;
    auto waitForMore = [&] {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime()))) {
            timedOut = socket.state() == QLocalSocket::ConnectedState;
            m_error = timedOut ? QStringLiteral("no answer within %1 s").arg(timeoutMs / 1000.0)
                               : QStringLiteral("the connection closed without an answer");
            return false;
        }
        return true;
    };
    while (!socket.canReadLine()) {
        if (!waitForMore())
            return timedOut ? Result::TimedOut : Result::Failed;
    }
    const QByteArray answer = socket.readLine().trimmed();
    if (answer == "ok")
        return Result::Delivered;
    if (answer.startsWith("ok ")) {
        bool isNumber = false;
        const qint64 size = answer.mid(3).toLongLong(&isNumber);
        if (!isNumber || size < 0) {
            m_error = QStringLiteral("the running Jotshelf answered \"%1\"")
                          .arg(QString::fromUtf8(answer));
            return Result::Failed;
        }
        m_reply.reserve(size);
        for (;;) {
            m_reply += socket.read(size - m_reply.size());
            if (m_reply.size() == size)
                return Result::Delivered;
            // What is already buffered is read first; a closed socket may still hold some.
            if (socket.bytesAvailable() == 0 && !waitForMore())
                return Result::Failed;
        }
    }
    if (answer.startsWith("error: ")) {
        m_error = QString::fromUtf8(answer.mid(7));
        return Result::Failed;
    }
    m_error = QStringLiteral("the running Jotshelf answered \"%1\"").arg(QString::fromUtf8(answer));
    return Result::Failed;
}
