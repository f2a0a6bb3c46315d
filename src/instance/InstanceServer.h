// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "instance/InstanceCommand.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QLocalSocket;
class QSocketNotifier;
class QTimer;

/// The running instance's end of the instance socket. A launch connects and sends one request
/// line: a command word ("toggle", "show", "hide", "settings", "quit", "print"), optionally
/// followed by " startup=<id>" (the launch's startup id), or "append <bytes>[ sync]" followed
/// by that many bytes of UTF-8 text. The answer is "ok" once the
/// command was carried out ("ok <bytes>" and the note for "print"), or "error: ..." with the
/// reason.
///
/// The server keeps listening whatever its clients do: it holds at most maxClients
/// connections (a new one pushes out the oldest), and when the process runs out of file
/// descriptors it turns the waiting connection away and tries again a little later instead of
/// closing.
class InstanceServer : public QObject
{
    Q_OBJECT

public:
    /// How long a connection may take to send its request.
    static constexpr int requestTimeoutMs = 5000;
    /// The most connections held at once.
    static constexpr int maxClients = 16;

    using Handler = std::function<InstanceReply(const InstanceRequest &)>;

    explicit InstanceServer(QObject *parent = nullptr);
    ~InstanceServer() override;

    /// Listens on \a socketPath, open to this user only. Replaces a socket left by an instance
    /// that crashed, so call it only while holding the instance lock. On failure \a error says
    /// why.
    bool listen(const QString &socketPath, QString *error);
    QString socketPath() const { return m_path; }
    /// The connections held now.
    int clientCount() const { return int(m_clients.size()); }

    /// Carries out each request; without one every request is answered "ok".
    void setHandler(Handler handler) { m_handler = std::move(handler); }

Q_SIGNALS:
    /// A launch asks for \a command; emitted before the handler runs. The reply goes out after
    /// the connected slots and the handler returned.
    void commandReceived(InstanceCommand command);

private:
    struct Client
    {
        QPointer<QLocalSocket> socket;
        /// The request line, once read; then the text still to come.
        std::optional<InstanceRequest> request;
        qint64 textSize = 0;
    };

    void acceptConnections();
    /// Returns false when accept() has to wait (nothing pending, or no descriptor left).
    bool acceptOne();
    void adopt(int descriptor);
    void dropOldestClient();
    void readRequest(QLocalSocket *socket);
    void finish(QLocalSocket *socket, const InstanceReply &reply);
    void forget(QLocalSocket *socket);
    Client *clientOf(QLocalSocket *socket);
    void close();

    QString m_path;
    int m_listener = -1;
    /// Kept open so that, with every other descriptor taken, one can be freed to turn a waiting
    /// connection away.
    int m_spare = -1;
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_backoff = nullptr;
    QList<Client> m_clients;
    Handler m_handler;
};
