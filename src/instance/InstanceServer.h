#pragma once

#include "instance/InstanceCommand.h"

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

/// The running instance's end of the instance socket. A launch connects, sends one command word
/// on a line ("toggle", "show", "hide", "settings", "quit") and gets "ok" once the command was
/// carried out, or "error: ..." for a word it does not know.
class InstanceServer : public QObject
{
    Q_OBJECT

public:
    /// How long a connection may take to send its line.
    static constexpr int requestTimeoutMs = 5000;

    explicit InstanceServer(QObject *parent = nullptr);
    ~InstanceServer() override;

    /// Listens on \a socketPath, open to this user only. Replaces a socket left by an instance
    /// that crashed, so call it only while holding the instance lock. On failure \a error says
    /// why.
    bool listen(const QString &socketPath, QString *error);
    QString socketPath() const;

Q_SIGNALS:
    /// A launch asks for \a command. The reply goes out after the connected slots returned.
    void commandReceived(InstanceCommand command);

private:
    void acceptConnections();
    void readRequest(QLocalSocket *socket);
    void reply(QLocalSocket *socket, const QByteArray &line);

    QLocalServer *m_server = nullptr;
};
