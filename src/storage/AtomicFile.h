// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>

/**
 * Writes a whole file so that a crash or a power cut leaves either the whole previous file or
 * the whole new one. The bytes go to a file without a name in the same folder; every step is
 * checked (each write, the flush to the disk); only then does the file get its name, by an atomic
 * rename over the old one, and the folder is flushed to the disk so that the rename survives a
 * power cut too.
 *
 * A write killed half-way leaves nothing behind in most cases; when it is killed between naming
 * the new file and the rename, a `<name>.saving-XXXXXX` stays beside the file, which
 * removeStaleTemporaries() clears on the next start.
 *
 *     AtomicFile file(path, AtomicFile::Mode::Private);
 *     if (!file.write(bytes))
 *         report(file.errorString());
 */
class AtomicFile
{
public:
    enum class Mode {
        /// The new file is readable by its owner only (0600), whatever the old one allowed. A
        /// symbolic link at the path is replaced, never written through.
        Private,
        /// A file the user chose: it keeps the permissions of the file it replaces (new files
        /// get 0666 less the umask), and a symbolic link is followed to the file it names.
        KeepPermissions,
        /// A new file, readable by its owner only, that never replaces anything: it fails with
        /// EEXIST when the path is taken (also by a symbolic link).
        CreatePrivate,
    };

    explicit AtomicFile(const QString &filePath, Mode mode = Mode::Private);

    /// Writes \a bytes as the whole file. False when any step failed; the file then holds what
    /// it held before (if the last step, flushing the folder, failed, it may hold the new bytes).
    bool write(QByteArrayView bytes);

    /// The errno of the step that failed, 0 after a success.
    int error() const { return m_error; }
    QString errorString() const;

    /// The name a write gives its new file before the rename, with six random letters or digits
    /// in place of the X's.
    static QString temporaryPattern(const QString &fileName);

    /// Removes what killed writes of \a filePath left beside it: regular files of this user named
    /// after temporaryPattern(). Nothing else is touched (no other names, no links, no folders).
    /// Returns how many were removed. Call it only while no other process writes the file.
    static int removeStaleTemporaries(const QString &filePath);

private:
    bool fail(int error);

    QString m_filePath;
    Mode m_mode;
    int m_error = 0;
};
