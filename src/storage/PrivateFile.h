#pragma once

#include <QString>

/// Files that hold the user's note: their folder is the user's alone and they are readable by
/// their owner only.
namespace PrivateFile {

/// Makes the folder of \a filePath (0700 when it has to be created) and, when the file does
/// not exist yet, creates it empty with mode 0600. An atomic replacement keeps the permissions
/// it finds, so every later version of the file stays private. False when that failed.
bool prepare(const QString &filePath);

/// Why \a filePath cannot serve as an INI settings file, or an empty string when it can (or does
/// not exist). A file is unusable when it cannot be read, is not a regular file, is not valid
/// UTF-8, holds a NUL byte, or holds a line that is neither blank, a [section], a comment nor a
/// key=value pair.
QString problemWith(const QString &filePath);

/// A short reason why \a filePath could not be written: a folder that is not writable, a file
/// that is not, a full disk.
QString whyUnwritable(const QString &filePath);

/// Moves an unusable file out of the way as `<name>.unreadable-<yyyyMMdd-HHmmss>` beside it,
/// keeping every byte. Returns the new path, or an empty string when it could not be moved.
QString setAside(const QString &filePath);

} // namespace PrivateFile
