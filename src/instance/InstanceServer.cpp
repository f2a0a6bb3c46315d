#include "instance/InstanceServer.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <sys/stat.h>

namespace {
// A command word is short; anything longer is not one of ours.
constexpr qint64 maxRequestBytes = 64;
} // namespace

InstanceServer::InstanceServer(QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::acceptConnections);
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen(const QString &socketPath, QString *error)
{
    QLocalServer::removeServer(socketPath);
    if (!m_server->listen(socketPath)) {
        if (error)
            *error = QStringLiteral("cannot listen on %1: %2")
                         .arg(socketPath, m_server->errorString());
        return false;
    }
    // Qt creates the socket with the requested mode; make sure nobody else can connect.
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(socketPath).constData(), &info) != 0
        || (info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        m_server->close();
        if (error)
            *error = QStringLiteral("%1 is open to other users").arg(socketPath);
        return false;
    }
    return true;
}

QString InstanceServer::socketPath() const
{
    return m_server->fullServerName();
}

void InstanceServer::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        // A client that connects and says nothing is dropped, so it cannot pile up.
        QTimer::singleShot(requestTimeoutMs, socket, [socket] { socket->abort(); });
        // The line may have arrived together with the connection.
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

void InstanceServer::readRequest(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > maxRequestBytes)
            reply(socket, "error: request too long\n");
        return;
    }
    const QByteArray line = socket->readLine(maxRequestBytes + 1).trimmed();
    const auto command = InstanceCommands::fromName(QString::fromUtf8(line));
    if (!command) {
        reply(socket, "error: unknown command\n");
        return;
    }
    Q_EMIT commandReceived(*command);
    reply(socket, "ok\n");
}

void InstanceServer::reply(QLocalSocket *socket, const QByteArray &line)
{
    // One request per connection: whatever follows the line is not read.
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    socket->write(line);
    socket->flush();
    // Closes once the reply is written.
    socket->disconnectFromServer();
}
