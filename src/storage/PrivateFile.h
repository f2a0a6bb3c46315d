// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

/// Files that hold the user's note: their folder is the user's alone and they are readable by
/// their owner only.
namespace PrivateFile {

/// The most a note file may hold to be read: a larger one is set aside unread.
constexpr qint64 maxNoteBytes = qint64(64) * 1024 * 1024;
/// The most a settings file (a dozen short values) may hold to be read.
constexpr qint64 maxSettingsBytes = qint64(1024) * 1024;

/// Makes the folder of \a filePath (0700 when it has to be created). Every version of the file
/// is written private (AtomicFile::Mode::Private). False when no file can be written there: the
/// folder cannot be made, or a folder stands at \a filePath.
bool prepare(const QString &filePath);
/// Writes \a bytes as the whole of \a filePath, readable by its owner only (AtomicFile::Mode::
/// Private), its folder made first (prepare()). An empty string when it was written, otherwise
/// why not (whyUnwritable()).
QString write(const QString &filePath, QByteArrayView bytes);

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

/// A file that could not be read as it should and was put aside whole.
struct SetAside
{
    QString original;
    QString copy; // empty when it could not be moved
    QString reason;
};

/// What checkIni() found in a file read at opening.
struct Checked
{
    /// What could be read from it, also from a file that was set aside.
    QVariantMap values;
    /// The file was faulty and was put aside whole (setAside()).
    std::optional<SetAside> setAside;
    /// Why the file could not be opened or read at all; it is then left in place.
    QString unreadable;
};

/// Checks \a contents, what read() found at \a filePath (at most \a maxBytes), as an INI file,
/// reads its values through QSettings and sets the file aside when it is faulty: not valid INI,
/// not a regular file, too large, or found wanting by \a fault (given the values it holds; an
/// empty string when they are sound).
Checked checkIni(const QString &filePath, const Contents &contents, qint64 maxBytes,
                 const std::function<QString(const QVariantMap &)> &fault = {});

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
