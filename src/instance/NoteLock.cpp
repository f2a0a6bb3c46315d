// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/NoteLock.h"

#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The file holds two short lines; anything longer is not ours.
constexpr qsizetype maxLockBytes = 512;
} // namespace

NoteLock::NoteLock(QString filePath)
    : m_filePath(std::move(filePath))
{ }

NoteLock::~NoteLock()
{
    unlock();
}

NoteLock::Result NoteLock::tryLock()
{
    if (isLocked())
        return Result::Taken;
    m_error.clear();
    const QByteArray path = QFile::encodeName(m_filePath);
    // A holder removes the file before it lets go: a lock taken on a file no longer at the
    // path guards nothing, and the next try opens the one that is there now.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            m_error = QStringLiteral("cannot open %1: %2").arg(m_filePath, qt_error_string(errno));
            return Result::Unusable;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return Result::Held;
            m_error = QStringLiteral("cannot lock %1: %2").arg(m_filePath, qt_error_string(error));
            return Result::Unusable;
        }
        struct stat opened = {};
        struct stat atPath = {};
        if (::fstat(fd, &opened) != 0 || ::lstat(path.constData(), &atPath) != 0
            || opened.st_dev != atPath.st_dev || opened.st_ino != atPath.st_ino) {
            ::close(fd);
            continue;
        }
        // Like every other file of the note's folder (an older version made it 0644).
        if ((opened.st_mode & 07777) != 0600)
            ::fchmod(fd, 0600);
        const QByteArray content = QByteArray::number(qint64(::getpid())) + '\n'
            + QSysInfo::machineHostName().toUtf8() + '\n';
        // Only names the holder in messages: the lock holds without it.
        const bool named = ::ftruncate(fd, 0) == 0
            && ::write(fd, content.constData(), size_t(content.size())) == ssize_t(content.size());
        Q_UNUSED(named)
        m_fd = fd;
        return Result::Taken;
    }
    m_error
        = QStringLiteral("cannot lock %1: it is replaced as fast as it is opened").arg(m_filePath);
    return Result::Unusable;
}

void NoteLock::unlock()
{
    if (!isLocked())
        return;
    ::unlink(QFile::encodeName(m_filePath).constData());
    ::close(m_fd);
    m_fd = -1;
}

QString NoteLock::holder() const
{
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.read(maxLockBytes).split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).toLongLong(&ok);
    const QString host = QString::fromUtf8(lines.value(1)).trimmed();
    if (!ok || pid <= 0)
        return {};
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return QStringLiteral("process %1 on %2").arg(pid).arg(host);
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return {};
    return QStringLiteral("process %1").arg(pid);
}
