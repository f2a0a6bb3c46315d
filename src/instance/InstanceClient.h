// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "instance/InstanceCommand.h"

#include <QByteArray>
#include <QString>

/// A launch's end of the instance socket: hands one request to the running instance and waits
/// for its answer. It blocks and needs no event loop and no application object, so it works
/// from a shell without a display.
class InstanceClient
{
public:
    enum class Result {
        /// The running instance carried the command out; reply() holds what it answered.
        Delivered,
        /// Nothing listens on the socket.
        NoInstance,
        /// Something listens but did not take the command, or the instance could not carry it
        /// out; errorString() says what happened.
        Failed,
        /// The command was sent but no answer came in time (the instance is stopped or busy):
        /// it may still be carried out, unless the instance finds this launch gone first.
        TimedOut,
    };

    explicit InstanceClient(QString socketPath);

    Result send(InstanceCommand command, int timeoutMs = 5000);
    Result send(const InstanceRequest &request, int timeoutMs = 5000);
    QString errorString() const { return m_error; }
    /// What the instance sent back with its "ok" (the note, for Print).
    const QByteArray &reply() const { return m_reply; }

private:
    Result exchange(const InstanceRequest &request, int timeoutMs);

    QString m_socketPath;
    QString m_error;
    QByteArray m_reply;
};
