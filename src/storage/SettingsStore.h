// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "storage/NoteFile.h"
#include "storage/PrivateFile.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <future>
#include <memory>
#include <optional>

/**
 * The defaults store: the user's settings file (INI, `Jotshelf/Jotshelf.conf` under the XDG
 * config folder) and, beside it, the note's own file (`note.conf`, the same key "noteContent"),
 * so that a switch never rewrites a large note. Both are readable by their owner only and
 * replaced atomically on every write; the note is written on a background thread, once
 * saveNote() has encoded it between events where it lives.
 *
 * Reads follow fixed rules: a text key counts when it holds text; a number key is usable when
 * it holds a finite number (0 otherwise, as for an absent key); a Boolean key is present only
 * when it holds `true` or `false`.
 *
 * A file that was read and found wrong is set aside, whole, before anything is written
 * (`Jotshelf.conf.unreadable-<date-time>`, `note.conf.unreadable-...`); what could be read is
 * still offered. That is a file that is not valid INI, a link, a FIFO or a folder, one larger
 * than PrivateFile::maxSettingsBytes (the note file: maxNoteBytes), and a note file that holds
 * anything but the note as NoteFile writes it. A file that could not be opened or read at all
 * is left in place (unreadable()).
 */
class SettingsStore : public QObject
{
    Q_OBJECT

public:
    /// The key whose text lives in the note's own file.
    static const QString noteKey;

    /// Opens the settings file at \a filePath and the note file beside it.
    explicit SettingsStore(const QString &filePath, QObject *parent = nullptr);
    /// The same, with the note file as readNoteInBackground() read it.
    SettingsStore(const QString &filePath, std::future<NoteFile::Loaded> note,
                  QObject *parent = nullptr);

    /// Reads and checks the note file beside the settings file \a filePath on a thread of its
    /// own, so that a long note is decoded while the application sets itself up. Only the
    /// instance that holds the note's lock may start it: nothing writes the file meanwhile.
    static std::future<NoteFile::Loaded> readNoteInBackground(const QString &filePath);
    ~SettingsStore() override;

    /// `$XDG_CONFIG_HOME/Jotshelf/Jotshelf.conf`.
    static QString defaultFilePath();

    QString filePath() const { return m_filePath; }
    QString noteFilePath() const;

    /// A file that could not be read as it should and was put aside whole at opening.
    struct SetAside
    {
        QString original;
        QString copy; // empty when it could not be moved
        QString reason;
    };
    const QList<SetAside> &setAside() const { return m_setAside; }
    /// Why a file that exists could not be read at opening, tries again included (out of file
    /// descriptors or memory, an I/O error); empty when both were read. Such a file is left
    /// in place, and nothing may be written over it: the application does not start.
    QString unreadable() const { return m_unreadable; }
    /// The folder and files that others could read and that were made the owner's own at
    /// opening.
    const QStringList &madePrivate() const { return m_madePrivate; }

    std::optional<QString> text(const QString &key) const;
    double number(const QString &key) const;
    std::optional<bool> boolean(const QString &key) const;
    bool contains(const QString &key) const;

    /// Each write of a setting reaches the file before it returns; the note's write is under
    /// way when it returns. False when the settings file could not be written.
    bool setText(const QString &key, const QString &value);
    /// Saves the note that \a source reads: encoded on this thread a slice at a time between
    /// events, then written in the background (NoteFile::save()); tell noteChanged() when it
    /// changes.
    void saveNote(NoteEncoder::Source source);
    /// The note that saveNote() reads changed: its encoding, if still under way, is dropped.
    void noteChanged();
    bool setNumber(const QString &key, double value);
    bool setBoolean(const QString &key, bool value);
    bool remove(const QString &key);

    /// Writes what is held in memory to the settings file; false when that failed.
    bool sync();
    /// Tries again what could not be written, in both files.
    void retry();
    /// Waits until the note is on disk, one still being encoded too; false when it could not be
    /// written.
    bool waitForNote();
    /// True while both files hold everything written to them.
    bool isWritten() const;
    /// True while the note file holds the last note written to it.
    bool isNoteWritten() const;

Q_SIGNALS:
    /// A write of \a filePath ended; \a reason says why it failed.
    void writeFinished(const QString &filePath, bool ok, const QString &reason);

private:
    bool write(const QString &key, const QVariant &value);
    QVariant value(const QString &key) const;
    QVariantMap checkFile(const QString &path, const PrivateFile::Contents &contents,
                          bool isNoteFile);
    void connectNote();

    QString m_filePath;
    QList<SetAside> m_setAside;
    QString m_unreadable;
    QStringList m_madePrivate;
    /// The note as the note file held it at opening, until its first reader takes it.
    mutable std::optional<QString> m_startNote;
    /// The note recovered from a file set aside, until its first reader takes it.
    mutable std::optional<QString> m_recoveredNote;
    /// What the settings file holds, with every change made since; the file is written whole.
    QVariantMap m_values;
    std::unique_ptr<NoteFile> m_note;
    bool m_settingsWritten = true;
    /// Changes not yet written to the settings file.
    bool m_dirty = false;
};
