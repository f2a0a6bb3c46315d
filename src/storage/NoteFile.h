// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "storage/NoteEncoder.h"
#include "storage/PrivateFile.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <mutex>
#include <optional>

/// The note's own settings file, beside the settings: a large note is rewritten only when the
/// note changes, never when a switch does. Writes run on a background thread so that a large
/// note never holds up typing; they are atomic (the file holds the whole previous note or the
/// whole new one, also after a crash), and only the newest text waits while one is written.
/// The thread is handed the file's bytes, never the note's string: save() encodes the note
/// where it lives, a slice at a time between events (NoteEncoder).
class NoteFile : public QObject
{
    Q_OBJECT

public:
    explicit NoteFile(const QString &filePath, QObject *parent = nullptr);
    /// Waits for a write still under way; a note still being encoded is dropped (its source
    /// may be gone by now): waitForWritten() writes it.
    ~NoteFile() override;

    QString filePath() const { return m_filePath; }

    /// What a note file holds, as far as it is the note exactly as this class writes it.
    struct Parsed
    {
        /// False when the file holds anything else: another key or section, a second line, the
        /// note in another form (unquoted, other escapes), line ends other than '\n'.
        bool ours = false;
        /// The text under the key, when there is one; it has room to grow.
        std::optional<QString> note;
    };
    /// Parses \a bytes, a whole note file: empty, "[General]\n" alone, or that line and one
    /// line holding \a key and its text as IniWriter encodes it.
    static Parsed parse(QByteArrayView bytes, const QString &key);
    /// The note at the head of a note file that was longer than PrivateFile::maxNoteBytes and
    /// cut there (\a head), when that file is in the form this class writes: its text up to
    /// the last character the cut left whole, short enough to be written back within the
    /// limit. Nothing for a file of any other form.
    static std::optional<QString> parseHead(QByteArray head, const QString &key);

    /// A note file as read at the start: its contents and what they hold.
    struct Loaded
    {
        /// The bytes are dropped once they parsed as the note: only a file to be set aside
        /// needs them.
        PrivateFile::Contents contents;
        Parsed parsed;
        /// The note at the head of a file longer than the limit (contents.cutShort).
        std::optional<QString> head;
    };
    /// Reads \a filePath (up to PrivateFile::maxNoteBytes; a longer file's head) and parses
    /// it; safe on any thread.
    static Loaded load(const QString &filePath, const QString &key);

    /// The text stored under \a key, when there is text (read whole, up to
    /// PrivateFile::maxNoteBytes).
    std::optional<QString> text(const QString &key) const;
    bool contains(const QString &key) const;

    /// Writes \a value under \a key in the background; it is encoded here first, at once.
    void setText(const QString &key, const QString &value);
    /// Writes the note that \a source reads under \a key: encoded on this thread, a slice at
    /// each turn of the event loop, then written in the background. \a source must stay valid
    /// until the note is encoded; noteChanged() is told when the note changes.
    void save(const QString &key, NoteEncoder::Source source);
    /// The note that save() reads changed: an encoding still under way is dropped, for the next
    /// save() to write the note as it is then.
    void noteChanged();
    /// Removes \a key, in order with the writes (the file holds that key alone).
    void remove(const QString &key);
    /// Writes again what the last failed write could not.
    void retry();
    /// Blocks until every requested change is on disk, a note still being encoded too (it is
    /// encoded whole at once); false when the last write failed.
    bool waitForWritten();
    /// False while the last write failed and nothing newer succeeded.
    bool isWritten() const;
    /// Why the last write failed, while isWritten() is false; known as soon as the write ends.
    QString failureReason() const;

Q_SIGNALS:
    /// A background write ended; \a reason says why it failed.
    void writeFinished(bool ok, const QString &reason);

private:
    /// Writes \a file, the whole file, in the background.
    void enqueue(QByteArray file);
    void drain();

    const QString m_filePath;
    NoteEncoder m_encoder;
    QThreadPool m_pool;
    mutable std::mutex m_mutex;
    std::optional<QByteArray> m_pending;
    std::optional<QByteArray> m_failed;
    QString m_failureReason;
    bool m_running = false;
};
