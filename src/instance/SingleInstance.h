// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "instance/InstanceCommand.h"
#include "instance/InstancePaths.h"
#include "instance/NoteLock.h"

#include <QByteArray>
#include <QString>

#include <memory>

/// Keeps Jotshelf to one instance per note: the instance holds a lock file beside the note for
/// its whole run, and every other launch for that note hands its request to it through the
/// instance socket. The system releases the lock of an instance that ended in any way
/// (NoteLock).
class SingleInstance
{
public:
    enum class Outcome {
        /// This process holds the lock: it is the instance.
        Primary,
        /// The running instance carried the command out; reply() holds its answer.
        Delivered,
        /// No instance runs and the launch does not become one; the lock is not kept.
        NotRunning,
        /// An instance holds the lock but did not take the command, or could not carry it out;
        /// errorString() says why.
        Failed,
        /// The instance took the command but did not answer in time; it may still carry it out.
        TimedOut,
    };

    /// What a free lock means to the launch.
    enum class Mode {
        /// Take it: this launch becomes the instance.
        MayStart,
        /// Nothing runs: the launch has nothing to hand over.
        IfRunning,
        /// An instance was just started elsewhere: wait for it to take the lock and answer.
        WaitForStart,
    };

    /// How long a launch waits for an instance that holds the lock but does not listen yet
    /// (it is starting).
    static constexpr int defaultPatienceMs = 5000;

    explicit SingleInstance(const InstancePaths &paths);
    /// Releases the lock and, for the instance, the file naming its socket.
    ~SingleInstance();

    /// Takes the lock, or hands \a request to the instance that holds it. Without
    /// \a mayStart, a free lock means no instance runs and is released again.
    Outcome claimOrDeliver(InstanceCommand request, bool mayStart,
                           int patienceMs = defaultPatienceMs);
    Outcome claimOrDeliver(const InstanceRequest &request, Mode mode,
                           int patienceMs = defaultPatienceMs, int answerTimeoutMs = 5000);
    bool isPrimary() const;
    QString errorString() const { return m_error; }
    /// Set when the lock could not live with the note and went beside the socket.
    QString warning() const { return m_warning; }
    /// The instance's answer to a delivered request.
    const QByteArray &reply() const { return m_reply; }

    /// The instance names the socket it listens on beside the lock, for launches whose runtime
    /// folder differs from its own. False, and \a error says why, when it cannot be written.
    bool publishAddress(QString *error);

private:
    /// The socket named beside the lock when it differs from ours and lies in a private folder.
    QString publishedSocket() const;
    /// Where the note's folder cannot hold a lock (a read-only folder), the lock goes beside
    /// the socket, as the next best guard; the instance then says it cannot save anyway.
    NoteLock &lock();

    InstancePaths m_paths;
    NoteLock m_lock;
    std::unique_ptr<NoteLock> m_fallbackLock;
    QString m_error;
    QString m_warning;
    QByteArray m_reply;
    bool m_published = false;
};
