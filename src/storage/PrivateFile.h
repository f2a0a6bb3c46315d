// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

/// Files that hold the user's note: their folder is the user's alone and they are readable by
/// their owner only.
namespace PrivateFile {

/// The most a note file may hold to be read: a larger one is set aside unread.
constexpr qint64 maxNoteBytes = qint64(64) * 1024 * 1024;
/// The most a settings file (a dozen short values) may hold to be read.
constexpr qint64 maxSettingsBytes = qint64(1024) * 1024;

/// Makes the folder of \a filePath (0700 when it has to be created). Every version of the file
/// is written private (AtomicFile::Mode::Private). False when the folder cannot be made or
/// something other than a file or a link stands at \a filePath.
bool prepare(const QString &filePath);

/// What a file holds, read once and no further than a limit.
struct Contents
{
    bool exists = false;
    /// Empty when the file could be read whole; it is then in `bytes`.
    QString problem;
    /// The file could not be opened or read (out of file descriptors or memory, an I/O
    /// error): what it holds is unknown, and it is left as it is.
    bool failed = false;
    /// The file is larger than the limit, and `bytes` hold its first bytes up to it.
    bool cutShort = false;
    QByteArray bytes;
};

/// What read() does with a file larger than its limit.
enum class Larger {
    Unread, ///< says so, reading nothing
    Head, ///< reads it up to the limit (Contents::cutShort)
};

/// Reads \a filePath whole when it is a regular file (not a link, a folder or a FIFO, which
/// is never opened) of at most \a maxBytes; otherwise says why not, without reading it (a
/// larger one: as \a larger says).
Contents read(const QString &filePath, qint64 maxBytes, Larger larger = Larger::Unread);
/// read(), tried again a few times while it fails for a passing reason (Contents::failed).
Contents readRetrying(const QString &filePath, qint64 maxBytes, Larger larger = Larger::Unread);

/// Why \a filePath cannot serve as an INI settings file, or an empty string when it can (or does
/// not exist): read() could not read it, or problemIn() finds fault with it.
QString problemWith(const QString &filePath, qint64 maxBytes = maxNoteBytes);

/// Why \a bytes cannot be an INI settings file: they are not valid UTF-8, hold a NUL byte, or
/// hold a line that is neither blank, a [section], a comment nor a key=value pair.
QString problemIn(QByteArrayView bytes);

/// A short reason why \a filePath could not be written: \a error (an errno) when it tells (a
/// full disk, a file-size limit, a quota), otherwise a folder that is not writable, a file that
/// is not, a disk found full.
QString whyUnwritable(const QString &filePath, int error = 0);

/// Narrows the permissions of \a path, a file or folder of this user, to the owner's own
/// (0644 becomes 0600, 0755 becomes 0700). True when it had to; links are left alone.
bool makePrivate(const QString &path);

/// Moves an unusable file out of the way as `<name>.unreadable-<yyyyMMdd-HHmmss>` beside it,
/// keeping every byte. Returns the new path, or an empty string when it could not be moved.
QString setAside(const QString &filePath);

} // namespace PrivateFile
