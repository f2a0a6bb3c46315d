// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/stat.h>

/// Reading files the way a test looks at them: whole, and with their mode bits.
namespace TestFiles {

/// The file's bytes; empty when it cannot be read.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The file's st_mode, type bits included (S_ISSOCK(), & 07777), of the link itself where
/// \a path is one; 0 when it does not exist.
inline mode_t modeOf(const QString &path)
{
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode;
}

} // namespace TestFiles
