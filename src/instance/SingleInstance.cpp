#include "instance/SingleInstance.h"

#include "instance/InstanceClient.h"

#include <QDeadlineTimer>
#include <QThread>

SingleInstance::SingleInstance(const InstancePaths &paths)
    : m_paths(paths)
    , m_lock(paths.lockPath())
{
    // The instance holds the lock for as long as it runs: a lock is stale only when the process
    // that took it is gone, never because of its age.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::claimOrDeliver(InstanceCommand request, bool mayStart,
                                                       int patienceMs)
{
    m_error.clear();
    const QDeadlineTimer deadline(patienceMs);
    InstanceClient client(m_paths.socketPath());
    for (;;) {
        if (m_lock.tryLock(0)) {
            if (mayStart)
                return Outcome::Primary;
            m_lock.unlock();
            return Outcome::NotRunning;
        }
        if (m_lock.error() != QLockFile::LockFailedError) {
            m_error = QStringLiteral("cannot use the lock file %1").arg(m_paths.lockPath());
            return Outcome::Failed;
        }
        switch (client.send(request)) {
        case InstanceClient::Result::Delivered:
            return Outcome::Delivered;
        case InstanceClient::Result::Failed:
            m_error = client.errorString();
            return Outcome::Failed;
        case InstanceClient::Result::NoInstance:
            break;
        }
        // The lock is held but nothing listens yet: the instance is starting, or just quit.
        if (deadline.hasExpired()) {
            qint64 pid = 0;
            QString host;
            QString application;
            m_lock.getLockInfo(&pid, &host, &application);
            m_error = QStringLiteral("a Jotshelf (process %1) holds %2 but does not answer on %3")
                          .arg(pid)
                          .arg(m_paths.lockPath(), m_paths.socketPath());
            return Outcome::Failed;
        }
        QThread::msleep(50);
    }
}
