// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "storage/PrivateFile.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

/**
 * The defaults store: the user's settings file (INI, `Jotshelf/Jotshelf.conf` under the XDG
 * config folder), readable by its owner only and replaced atomically on every write. The note
 * has a store of its own beside it (NoteStore), so that a switch never rewrites a large note.
 *
 * Reads follow fixed rules: a text key counts when it holds text; a number key is usable when
 * it holds a finite number (0 otherwise, as for an absent key); a Boolean key is present only
 * when it holds `true` or `false`.
 *
 * A file that was read and found wrong is set aside, whole, before anything is written
 * (`Jotshelf.conf.unreadable-<date-time>`); what could be read is still offered. That is a file
 * that is not valid INI, a link, a FIFO or a folder, or one larger than
 * PrivateFile::maxSettingsBytes. A file that could not be opened or read at all is left in
 * place (unreadable()).
 */
class SettingsStore : public QObject
{
    Q_OBJECT

public:
    /// Opens the settings file at \a filePath.
    explicit SettingsStore(const QString &filePath, QObject *parent = nullptr);
    ~SettingsStore() override;

    /// `$XDG_CONFIG_HOME/Jotshelf/Jotshelf.conf`.
    static QString defaultFilePath();

    QString filePath() const { return m_filePath; }

    /// The file, when it could not be read as it should and was put aside whole at opening.
    const QList<PrivateFile::SetAside> &setAside() const { return m_setAside; }
    /// Puts the file read at opening aside whole, as one found wrong, for a reader that found a
    /// value in it that the next write would lose; what was read is written again. Only before
    /// anything is written, and while setAside() is empty.
    void setFileAside(const QString &reason);
    /// Why the file exists but could not be read at opening, tries again included (out of file
    /// descriptors or memory, an I/O error); empty when it was read. Such a file is left in
    /// place, and nothing may be written over it: the application does not start.
    QString unreadable() const { return m_unreadable; }
    /// The folder and the file that others could read and that were made the owner's own at
    /// opening.
    const QStringList &madePrivate() const { return m_madePrivate; }

    /// The value as read, in whatever form the file holds it.
    QVariant value(const QString &key) const { return m_values.value(key); }
    std::optional<QString> text(const QString &key) const;
    double number(const QString &key) const;
    std::optional<bool> boolean(const QString &key) const;
    bool contains(const QString &key) const { return m_values.contains(key); }

    /// Each write reaches the file before it returns. False when the file could not be written.
    bool setText(const QString &key, const QString &value);
    bool setNumber(const QString &key, double value);
    bool setBoolean(const QString &key, bool value);
    bool remove(const QString &key);
    /// Removes \a key and returns what it held, without writing: the next write leaves it out.
    QVariant take(const QString &key);

    /// Writes what is held in memory to the file; false when that failed.
    bool sync();
    /// Tries again what could not be written.
    void retry();
    /// True while the file holds everything written to it.
    bool isWritten() const { return m_written; }

Q_SIGNALS:
    /// A write of \a filePath ended; \a reason says why it failed.
    void writeFinished(const QString &filePath, bool ok, const QString &reason);

private:
    bool write(const QString &key, const QVariant &value);

    QString m_filePath;
    QList<PrivateFile::SetAside> m_setAside;
    QString m_unreadable;
    QStringList m_madePrivate;
    /// What the file holds, with every change made since; the file is written whole.
    QVariantMap m_values;
    bool m_written = true;
    /// Changes not yet written to the file.
    bool m_dirty = false;
};
