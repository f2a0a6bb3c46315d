// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/SingleInstance.h"

#include "instance/InstanceClient.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <sys/stat.h>

namespace {
// The address file holds one path; anything longer is not ours.
constexpr qint64 maxAddressBytes = 4096;
} // namespace

SingleInstance::SingleInstance(const InstancePaths &paths)
    : m_paths(paths)
    , m_lock(paths.lockPath())
{ }

SingleInstance::~SingleInstance()
{
    if (m_published && isPrimary())
        QFile::remove(m_paths.addressPath());
}

bool SingleInstance::isPrimary() const
{
    return m_lock.isLocked() || (m_fallbackLock && m_fallbackLock->isLocked());
}

NoteLock &SingleInstance::lock()
{
    return m_fallbackLock ? *m_fallbackLock : m_lock;
}

SingleInstance::Outcome SingleInstance::claimOrDeliver(InstanceCommand request, bool mayStart,
                                                       int patienceMs)
{
    InstanceRequest whole;
    whole.command = request;
    return claimOrDeliver(whole, mayStart ? Mode::MayStart : Mode::IfRunning, patienceMs);
}

SingleInstance::Outcome SingleInstance::claimOrDeliver(const InstanceRequest &request, Mode mode,
                                                       int patienceMs, int answerTimeoutMs)
{
    m_error.clear();
    m_reply.clear();
    // The lock lives with the note; the note's folder may not exist before the first start.
    const QString folder = m_paths.noteFolder();
    if (!QFileInfo::exists(folder)) {
        QDir().mkpath(QFileInfo(folder).absolutePath());
        ::mkdir(QFile::encodeName(folder).constData(), S_IRWXU);
    }

    const QDeadlineTimer deadline(patienceMs);
    for (;;) {
        const NoteLock::Result locked = lock().tryLock();
        if (locked == NoteLock::Result::Taken) {
            if (mode == Mode::MayStart)
                return Outcome::Primary;
            lock().unlock();
            if (mode == Mode::IfRunning)
                return Outcome::NotRunning;
        } else if (locked == NoteLock::Result::Unusable) {
            if (m_fallbackLock) {
                m_error = QStringLiteral("cannot use the lock file %1 (%2), nor %3 (%4)")
                              .arg(m_paths.lockPath(), m_lock.errorString(),
                                   m_fallbackLock->fileName(), m_fallbackLock->errorString());
                return Outcome::Failed;
            }
            const QString fallback = QFileInfo(m_paths.socketPath()).path() + QStringLiteral("/")
                + QFileInfo(m_paths.socketPath()).completeBaseName() + QStringLiteral(".lock");
            m_warning = QStringLiteral("cannot use the lock file %1 (%2); using %3 instead")
                            .arg(m_paths.lockPath(), m_lock.errorString(), fallback);
            m_fallbackLock = std::make_unique<NoteLock>(fallback);
            continue;
        } else {
            QStringList sockets {m_paths.socketPath()};
            if (const QString published = publishedSocket(); !published.isEmpty())
                sockets << published;
            for (const QString &socket : std::as_const(sockets)) {
                InstanceClient client(socket);
                switch (client.send(request, answerTimeoutMs)) {
                case InstanceClient::Result::Delivered:
                    m_reply = client.reply();
                    return Outcome::Delivered;
                case InstanceClient::Result::Failed:
                    m_error = client.errorString();
                    return Outcome::Failed;
                case InstanceClient::Result::TimedOut:
                    m_error = client.errorString();
                    return Outcome::TimedOut;
                case InstanceClient::Result::NoInstance:
                    break;
                }
            }
        }
        // The lock is held but nothing listens yet: the instance is starting, or just quit.
        if (deadline.hasExpired()) {
            const QString holder = lock().holder();
            if (holder.isEmpty()) {
                m_error = QStringLiteral("%1 is held, but names no Jotshelf that can be checked "
                                         "here, and none answers on %2; the note is left alone. "
                                         "If no Jotshelf runs for this note, delete %1")
                              .arg(lock().fileName(), m_paths.socketPath());
                return Outcome::Failed;
            }
            m_error = QStringLiteral("a Jotshelf (%1) holds %2 but does not answer on %3; the "
                                     "note is left to it. If no Jotshelf runs for this note, "
                                     "delete %2")
                          .arg(holder, lock().fileName(), m_paths.socketPath());
            return Outcome::Failed;
        }
        QThread::msleep(50);
    }
}

QString SingleInstance::publishedSocket() const
{
    QFile file(m_paths.addressPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString path = QFile::decodeName(file.read(maxAddressBytes).trimmed());
    if (path.isEmpty() || path == m_paths.socketPath() || !QDir::isAbsolutePath(path))
        return {};
    // Only a socket in a folder of this user's own is trusted with the request.
    if (!InstancePaths::isPrivateFolder(QFileInfo(path).path(), nullptr))
        return {};
    return path;
}

bool SingleInstance::publishAddress(QString *error)
{
    QSaveFile file(m_paths.addressPath());
    if (file.open(QIODevice::WriteOnly)) {
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        file.write(QFile::encodeName(m_paths.socketPath()) + '\n');
        if (file.commit()) {
            m_published = true;
            return true;
        }
    }
    if (error)
        *error
            = QStringLiteral("cannot write %1: %2").arg(m_paths.addressPath(), file.errorString());
    return false;
}
