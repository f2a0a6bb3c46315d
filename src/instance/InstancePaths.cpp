// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/InstancePaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

std::optional<InstancePaths> InstancePaths::fromEnvironment(const QString &noteFolder,
                                                            QString *error, QString *warning)
{
    return resolve(qEnvironmentVariable("XDG_RUNTIME_DIR"), QStringLiteral("/tmp"), noteFolder,
                   error, warning);
}

std::optional<InstancePaths> InstancePaths::resolve(const QString &runtimeDir,
                                                    const QString &tempRoot,
                                                    const QString &noteFolder, QString *error,
                                                    QString *warning)
{
    const QString note = QDir::cleanPath(QDir(noteFolder).absolutePath());
    // A relative $XDG_RUNTIME_DIR is to be ignored, like an unset one.
    if (!runtimeDir.isEmpty() && QDir::isAbsolutePath(runtimeDir)) {
        QString reason;
        if (isPrivateFolder(runtimeDir, &reason))
            return InstancePaths(QDir::cleanPath(runtimeDir), note);
        if (warning)
            *warning
                = QStringLiteral("XDG_RUNTIME_DIR (%1) is not usable: %2").arg(runtimeDir, reason);
    }

    const QString fallback
        = QDir(tempRoot).filePath(QStringLiteral("jotshelf-%1").arg(uint(::getuid())));
    const QByteArray native = QFile::encodeName(fallback);
    if (::mkdir(native.constData(), S_IRWXU) != 0 && errno != EEXIST) {
        if (error)
            *error = QStringLiteral("cannot create %1: %2").arg(fallback, systemError(errno));
        return std::nullopt;
    }
    QString reason;
    if (isPrivateFolder(fallback, &reason))
        return InstancePaths(fallback, note);
    // Another user may have made it first (/tmp is everyone's): a folder of a new, unguessable
    // name instead, which launches find through the address file beside the note.
    QByteArray unique = QFile::encodeName(fallback + QStringLiteral("-XXXXXX"));
    if (!::mkdtemp(unique.data())) {
        if (error)
            *error = QStringLiteral("%1 is not usable (%2), and no private folder can be made "
                                    "beside it: %3")
                         .arg(fallback, reason, systemError(errno));
        return std::nullopt;
    }
    if (warning)
        *warning = QStringLiteral("%1 is not usable (%2); listening in %3 instead")
                       .arg(fallback, reason, QFile::decodeName(unique));
    return InstancePaths(QFile::decodeName(unique), note);
}

bool InstancePaths::isPrivateFolder(const QString &folder, QString *reason)
{
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0) {
        if (reason)
            *reason = systemError(errno);
        return false;
    }
    QString problem;
    if (!S_ISDIR(info.st_mode))
        problem = QStringLiteral("it is not a folder");
    else if (info.st_uid != ::getuid())
        problem = QStringLiteral("it belongs to user %1").arg(uint(info.st_uid));
    else if ((info.st_mode & 0777) != S_IRWXU)
        problem = QStringLiteral("its mode is %1, not 0700")
                      .arg(uint(info.st_mode & 0777), 4, 8, QLatin1Char('0'));
    if (reason)
        *reason = problem;
    return problem.isEmpty();
}

QString InstancePaths::socketPath() const
{
    const QByteArray digest
        = QCryptographicHash::hash(QFile::encodeName(m_noteFolder), QCryptographicHash::Sha256);
    return QDir(m_folder).filePath(
        QStringLiteral("jotshelf-%1.socket").arg(QString::fromLatin1(digest.left(8).toHex())));
}

QString InstancePaths::lockPath() const
{
    return QDir(m_noteFolder).filePath(QStringLiteral("jotshelf.lock"));
}

QString InstancePaths::addressPath() const
{
    return QDir(m_noteFolder).filePath(QStringLiteral("jotshelf.address"));
}
