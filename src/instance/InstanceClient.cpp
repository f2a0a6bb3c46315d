#include "instance/InstanceClient.h"

#include <QDeadlineTimer>
#include <QLocalSocket>

InstanceClient::InstanceClient(QString socketPath)
    : m_socketPath(std::move(socketPath))
{ }

InstanceClient::Result InstanceClient::send(InstanceCommand command, int timeoutMs)
{
    m_error.clear();
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

    socket.write(InstanceCommands::name(command).toUtf8() + '\n');
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) {
            m_error = QStringLiteral("cannot send the command: %1").arg(socket.errorString());
            return Result::Failed;
        }
    }
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime()))) {
            m_error = socket.state() == QLocalSocket::ConnectedState
                ? QStringLiteral("no answer within %1 s").arg(timeoutMs / 1000.0)
                : QStringLiteral("the connection closed without an answer");
            return Result::Failed;
        }
    }
    const QByteArray answer = socket.readLine().trimmed();
    if (answer == "ok")
        return Result::Delivered;
    m_error = QStringLiteral("the running Jotshelf answered \"%1\"").arg(QString::fromUtf8(answer));
    return Result::Failed;
}
