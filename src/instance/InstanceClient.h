#pragma once

#include "instance/InstanceCommand.h"

#include <QString>

/// A launch's end of the instance socket: hands one command to the running instance and waits
/// for its answer. It blocks and needs no event loop and no application object, so it works
/// from a shell without a display.
class InstanceClient
{
public:
    enum class Result {
        /// The running instance carried the command out.
        Delivered,
        /// Nothing listens on the socket.
        NoInstance,
        /// Something listens but did not take the command; errorString() says what happened.
        Failed,
    };

    explicit InstanceClient(QString socketPath);

    Result send(InstanceCommand command, int timeoutMs = 5000);
    QString errorString() const { return m_error; }

private:
    QString m_socketPath;
    QString m_error;
};
