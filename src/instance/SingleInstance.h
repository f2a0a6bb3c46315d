#pragma once

#include "instance/InstanceCommand.h"
#include "instance/InstancePaths.h"

#include <QLockFile>
#include <QString>

/// Keeps Jotshelf to one instance per user: the instance holds a lock file for its whole run,
/// and every other launch hands its command to it through the instance socket. A lock left by
/// an instance that crashed is recovered (its process is gone).
class SingleInstance
{
public:
    enum class Outcome {
        /// This process holds the lock: it is the instance.
        Primary,
        /// The running instance carried the command out.
        Delivered,
        /// No instance runs and the command does not start one; the lock is not kept.
        NotRunning,
        /// An instance holds the lock but did not take the command; errorString() says why.
        Failed,
    };

    /// How long a launch waits for an instance that holds the lock but does not listen yet
    /// (it is starting).
    static constexpr int defaultPatienceMs = 5000;

    explicit SingleInstance(const InstancePaths &paths);
    ~SingleInstance();

    /// Takes the lock, or hands \a request to the instance that holds it. Without
    /// \a mayStart, a free lock means no instance runs and is released again.
    Outcome claimOrDeliver(InstanceCommand request, bool mayStart,
                           int patienceMs = defaultPatienceMs);
    bool isPrimary() const { return m_lock.isLocked(); }
    QString errorString() const { return m_error; }
    const InstancePaths &paths() const { return m_paths; }

private:
    InstancePaths m_paths;
    QLockFile m_lock;
    QString m_error;
};
