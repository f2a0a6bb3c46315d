// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "storage/NoteEncoder.h"
#include "storage/NoteFile.h"
#include "storage/PrivateFile.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <future>
#include <memory>
#include <optional>

class SettingsStore;

/**
 * The note's own store: `note.conf` beside the settings file, readable by its owner only,
 * replaced atomically on every write, and written on a background thread once save() has
 * encoded the note between events where it lives (NoteFile). When the file cannot be written
 * as the application ends, rescue() keeps a copy of the note where only the user can reach it
 * (RescueCopy).
 *
 * A note file that holds anything but the note as NoteFile writes it, a link, a FIFO or a
 * folder, is set aside whole before anything is written (`note.conf.unreadable-<date-time>`),
 * and the note that could be read from it is still offered; one longer than
 * PrivateFile::maxNoteBytes is set aside too, and its head offered. A file that could not be
 * opened or read at all is left in place (unreadable()).
 *
 * An older version kept the note in the settings file: such a note is offered when the note
 * file holds none, and dropped from the settings file once the note file is written.
 */
class NoteStore : public QObject
{
    Q_OBJECT

public:
    /// The note's key in its file, and in the settings file of an older version.
    static const QString key;

    /// The note file beside the settings file \a settingsFilePath.
    static QString fileBeside(const QString &settingsFilePath);
    /// Reads and checks the note file beside the settings file \a settingsFilePath on a thread of
    /// its own, so that a long note is decoded while the application sets itself up. Only the
    /// instance that holds the note's lock may start it: nothing writes the file meanwhile.
    static std::future<NoteFile::Loaded> readInBackground(const QString &settingsFilePath);

    /// Opens the note file beside the file of \a settings, which outlives this store; with the
    /// file as readInBackground() read it, when \a preloaded holds it. Nothing is read when the
    /// settings file could not be (SettingsStore::unreadable()): the application does not start.
    explicit NoteStore(SettingsStore &settings, std::future<NoteFile::Loaded> preloaded = {},
                       QObject *parent = nullptr);
    ~NoteStore() override;

    QString filePath() const { return m_file.filePath(); }
    /// The files set aside at opening: an older version's settings file whose note was not
    /// text, then the note file.
    const QList<PrivateFile::SetAside> &setAside() const { return m_setAside; }
    /// Why the note file exists but could not be read at opening (see
    /// SettingsStore::unreadable()); empty when it was read.
    QString unreadable() const { return m_unreadable; }
    /// The note file, when others could read it and it was made the owner's own at opening.
    const QStringList &madePrivate() const { return m_madePrivate; }

    /// The stored note, when there is one. The note read at opening goes to the first caller
    /// alone: a copy shared with this store would be copied whole by the first keystroke.
    std::optional<QString> text() const;

    /// Saves the note that \a source reads: encoded on this thread a slice at a time between
    /// events, then written in the background; tell noteChanged() when it changes.
    void save(NoteEncoder::Source source);
    /// The note that save() reads changed: its encoding, if still under way, is dropped.
    void noteChanged();
    /// Writes \a note at once, in the background.
    void setText(const QString &note);
    /// Empties the file, in order with the writes.
    void remove();

    /// Tries again what could not be written.
    void retry();
    /// Waits until the note is on disk, one still being encoded too; false when it could not be
    /// written.
    bool waitForWritten();
    /// True while the file holds the last note written to it.
    bool isWritten() const { return m_file.isWritten(); }
    /// Why the last write failed, while isWritten() is false.
    QString failureReason() const { return m_file.failureReason(); }
    /// Writes \a note to a new rescue copy; its path, or an empty string when it could be written
    /// nowhere.
    static QString rescue(const QString &note);

Q_SIGNALS:
    /// A write of \a filePath ended; \a reason says why it failed.
    void writeFinished(const QString &filePath, bool ok, const QString &reason);

private:
    void open(std::future<NoteFile::Loaded> preloaded);
    void takeOlderNote();

    SettingsStore &m_settings;
    NoteFile m_file;
    QList<PrivateFile::SetAside> m_setAside;
    QString m_unreadable;
    QStringList m_madePrivate;
    /// The note as the note file held it at opening, until its first reader takes it.
    mutable std::optional<QString> m_startNote;
    /// The note recovered from a file set aside, until its first reader takes it.
    mutable std::optional<QString> m_recoveredNote;
};
