// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/InstanceServer.h"

#include <QFile>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// A request line is short; anything longer is not one of ours.
constexpr qint64 maxRequestBytes = 64 + InstanceCommands::maxStartupIdBytes;
// How long the server waits before accepting again after the process ran out of descriptors.
constexpr int backoffMs = 100;
// How long an answer may take to be read.
constexpr int finishTimeoutMs = 30000;

// Whether the launch at the other end closed its connection: it no longer waits for the answer.
bool hasHungUp(QLocalSocket &socket)
{
    if (socket.state() != QLocalSocket::ConnectedState)
        return true;
    pollfd peer {int(socket.socketDescriptor()), POLLRDHUP, 0};
    return ::poll(&peer, 1, 0) > 0 && (peer.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

std::optional<InstanceRequest> parseRequest(const QByteArray &line, qint64 *textSize)
{
    const QList<QByteArray> words = line.split(' ');
    const auto command = InstanceCommands::fromName(QString::fromLatin1(words.constFirst()));
    if (!command)
        return std::nullopt;
    InstanceRequest request;
    request.command = *command;
    if (*command != InstanceCommand::Append) {
        // A launch started with a startup id sends it along: "show startup=<id>".
        if (words.size() == 2 && words[1].startsWith("startup=")) {
            request.startupId = words[1].mid(8);
            if (!InstanceCommands::isValidStartupId(request.startupId))
                return std::nullopt;
            return request;
        }
        return words.size() == 1 ? std::optional(request) : std::nullopt;
    }
    if (words.size() < 2 || words.size() > 3 || (words.size() == 3 && words[2] != "sync"))
        return std::nullopt;
    bool isNumber = false;
    *textSize = words[1].toLongLong(&isNumber);
    if (!isNumber || *textSize < 0)
        return std::nullopt;
    request.sync = words.size() == 3;
    return request;
}
} // namespace

InstanceServer::InstanceServer(QObject *parent)
    : QObject(parent)
    , m_backoff(new QTimer(this))
{
    m_backoff->setSingleShot(true);
    m_backoff->setInterval(backoffMs);
    connect(m_backoff, &QTimer::timeout, this, [this] {
        if (m_notifier)
            m_notifier->setEnabled(true);
        acceptConnections();
    });
}

InstanceServer::~InstanceServer()
{
    close();
}

void InstanceServer::close()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_listener >= 0) {
        ::close(m_listener);
        m_listener = -1;
        // A clean end removes the socket, so the next launch does not knock on a dead door.
        ::unlink(QFile::encodeName(m_path).constData());
    }
    if (m_spare >= 0) {
        ::close(m_spare);
        m_spare = -1;
    }
}

bool InstanceServer::listen(const QString &socketPath, QString *error)
{
    close();
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    const QByteArray native = QFile::encodeName(socketPath);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (size_t(native.size()) >= sizeof address.sun_path)
        return fail(QStringLiteral("cannot listen on %1: the path is too long").arg(socketPath));
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));

    struct stat info
    {
    };
    if (::lstat(native.constData(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode))
            return fail(QStringLiteral("cannot listen on %1: something else is in its place")
                            .arg(socketPath));
        ::unlink(native.constData());
    }

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return fail(QStringLiteral("cannot listen on %1: %2").arg(socketPath, systemError(errno)));
    // The socket is open to this user only before anyone can connect (listen() comes after).
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::chmod(native.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(QStringLiteral("cannot listen on %1: %2").arg(socketPath, systemError(code)));
    }
    m_listener = fd;
    m_path = socketPath;
    m_spare = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    m_notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InstanceServer::acceptConnections);
    return true;
}

void InstanceServer::acceptConnections()
{
    while (acceptOne()) { }
}

bool InstanceServer::acceptOne()
{
    if (m_listener < 0)
        return false;
    const int descriptor = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (descriptor >= 0) {
        adopt(descriptor);
        return true;
    }
    switch (errno) {
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return false;
    case EINTR:
    case ECONNABORTED:
    case EPROTO:
        return true;
    default:
        // Out of descriptors or memory (EMFILE, ENFILE, ENOBUFS, ENOMEM), or anything else:
        // nothing a retry later cannot mend; the listener itself stays open.
        break;
    }
    // Out of descriptors: first make room among the connections held here.
    if (!m_clients.isEmpty()) {
        dropOldestClient();
        return true;
    }
    // Nothing of ours to let go: turn the waiting connection away with the spare descriptor,
    // so its launch hears at once instead of waiting for a timeout.
    if (m_spare >= 0) {
        ::close(m_spare);
        const int turnedAway = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (turnedAway >= 0)
            ::close(turnedAway);
        m_spare = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (turnedAway >= 0)
            return true;
    }
    // Try again a little later; the listener stays open.
    if (m_notifier)
        m_notifier->setEnabled(false);
    m_backoff->start();
    return false;
}

void InstanceServer::adopt(int descriptor)
{
    if (m_clients.size() >= maxClients)
        dropOldestClient();
    auto *socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(qintptr(descriptor))) {
        ::close(descriptor);
        delete socket;
        return;
    }
    m_clients.append(Client {socket, std::nullopt, 0});
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] { forget(socket); });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    // A client that connects and says nothing is dropped, so it cannot pile up.
    QTimer::singleShot(requestTimeoutMs, socket, [this, socket] {
        if (clientOf(socket))
            socket->abort();
    });
    // The request may have arrived together with the connection.
    if (socket->bytesAvailable() > 0)
        readRequest(socket);
}

void InstanceServer::dropOldestClient()
{
    if (m_clients.isEmpty())
        return;
    const QPointer<QLocalSocket> socket = m_clients.takeFirst().socket;
    if (socket) {
        disconnect(socket, nullptr, this, nullptr);
        socket->abort();
        // The descriptor is free now, not only once the event loop deletes the object.
        delete socket.data();
    }
}

InstanceServer::Client *InstanceServer::clientOf(QLocalSocket *socket)
{
    for (Client &client : m_clients) {
        if (client.socket == socket)
            return &client;
    }
    return nullptr;
}

void InstanceServer::forget(QLocalSocket *socket)
{
    m_clients.removeIf([socket](const Client &client) { return client.socket == socket; });
    socket->deleteLater();
}

void InstanceServer::readRequest(QLocalSocket *socket)
{
    Client *client = clientOf(socket);
    if (!client)
        return;
    if (!client->request) {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > maxRequestBytes)
                finish(socket, InstanceReply::failure(QStringLiteral("request too long")));
            return;
        }
        const QByteArray line = socket->readLine(maxRequestBytes + 1).trimmed();
        client->request = parseRequest(line, &client->textSize);
        if (!client->request) {
            finish(socket, InstanceReply::failure(QStringLiteral("unknown command")));
            return;
        }
        if (client->textSize > InstanceCommands::maxAppendBytes) {
            finish(socket,
                   InstanceReply::failure(QStringLiteral("the text is longer than %1 MB")
                                              .arg(InstanceCommands::maxAppendBytes >> 20)));
            return;
        }
        client->request->text.reserve(client->textSize);
    }
    InstanceRequest &request = *client->request;
    request.text += socket->read(client->textSize - request.text.size());
    if (request.text.size() < client->textSize)
        return;
    if (!InstanceCommands::isValidUtf8(request.text)) {
        finish(socket, InstanceReply::failure(QStringLiteral("the text is not valid UTF-8")));
        return;
    }

    // The request is whole: the connection is no longer one that waits, and the handler may
    // take its time (a save with "sync") without the timer cutting the answer off.
    const InstanceRequest whole = std::move(request);
    m_clients.removeIf([socket](const Client &c) { return c.socket == socket; });
    // A launch that gave up waiting (this process was stopped, or busy for longer) has told
    // its user the command failed: carried out now, a retry would be carried out twice.
    if (hasHungUp(*socket)) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    Q_EMIT commandReceived(whole.command);
    finish(socket, m_handler ? m_handler(whole) : InstanceReply {});
}

void InstanceServer::finish(QLocalSocket *socket, const InstanceReply &reply)
{
    // One request per connection: whatever follows it is not read.
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    m_clients.removeIf([socket](const Client &c) { return c.socket == socket; });
    if (!reply.ok) {
        QString error = reply.error;
        error.replace(u'\n', u' ');
        socket->write("error: " + error.toUtf8() + '\n');
    } else if (reply.data) {
        socket->write("ok " + QByteArray::number(reply.data->size()) + '\n');
        socket->write(*reply.data);
    } else {
        socket->write("ok\n");
    }
    // Closes once the reply is written; a launch that stops reading does not hold it for ever.
    QTimer::singleShot(finishTimeoutMs, socket, [socket] { socket->abort(); });
    socket->disconnectFromServer();
}
