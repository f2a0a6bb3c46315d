// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/RescueCopy.h"

#include "storage/AtomicFile.h"
#include "storage/PrivateFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// True when \a folder is a folder (not a link) of this user that no one else can enter.
bool isPrivateFolder(const QString &folder)
{
    PrivateFile::makePrivate(folder);
    struct stat info = {};
    return ::lstat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

QString privateStateFolder()
{
    const QString folder = RescueCopy::stateFolder();
    QDir().mkpath(QFileInfo(folder).absolutePath());
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return isPrivateFolder(folder) ? folder : QString();
}

QString newTemporaryFolder()
{
    QByteArray pattern
        = QFile::encodeName(QDir::tempPath() + QStringLiteral("/jotshelf-rescue-XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        return {};
    return QFile::decodeName(pattern);
}

/// Writes \a bytes as a new file in \a folder; its path, or an empty string.
QString writeInto(const QString &folder, QByteArrayView bytes, QString *error)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n < 100; ++n) {
        const QString name = n == 1 ? QStringLiteral("jotshelf-note-%1.txt").arg(stamp)
                                    : QStringLiteral("jotshelf-note-%1-%2.txt").arg(stamp).arg(n);
        const QString path = QDir(folder).filePath(name);
        AtomicFile file(path, AtomicFile::Mode::CreatePrivate);
        if (file.write(bytes))
            return path;
        if (error)
            *error = file.errorString();
        if (file.error() != EEXIST)
            return {};
    }
    return {};
}

} // namespace

QString RescueCopy::stateFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/Jotshelf");
}

QString RescueCopy::write(QByteArrayView bytes, QString *error)
{
    if (const QString folder = privateStateFolder(); !folder.isEmpty()) {
        if (const QString path = writeInto(folder, bytes, error); !path.isEmpty())
            return path;
    }
    const QString folder = newTemporaryFolder();
    if (folder.isEmpty()) {
        if (error)
            *error = qt_error_string(errno);
        return {};
    }
    const QString path = writeInto(folder, bytes, error);
    if (path.isEmpty())
        ::rmdir(QFile::encodeName(folder).constData());
    return path;
}
