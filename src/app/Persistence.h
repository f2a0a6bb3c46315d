// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/SaveOutcome.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

class AppState;
class DebouncedWriter;

/// Loads the saved note and settings into the model once, then keeps the note's file and the
/// settings file up to date: the note half a second after its last change, and ten savers of the
/// settings table, some writing within the assignment, the others half a second after the last
/// change. Whatever still waits is written by writeNow() or flush(), which the application calls
/// when it ends: they, and isWritten(), answer for both files.
///
/// When a file cannot be written the note stays in memory: the user is told once, every later
/// change (and retry()) tries again, and everything is written as soon as writing works.
class Persistence : public QObject
{
    Q_OBJECT

public:
    /// The pause after the last change before a debounced value is written.
    static constexpr int debounceMs = 500;

    explicit Persistence(AppState &state);
    ~Persistence() override;

    void loadSavedContent();
    void setupAutoSave();
    /// Writes every value still waiting and waits until the note is on disk. When a file still
    /// cannot be written it says so (one line naming that file) and, when it is the note's,
    /// keeps a rescue copy of the note where it can. A later flush with no change to the note
    /// in between says nothing again and returns the same outcome.
    SaveOutcome flush();
    /// Writes every value still waiting and waits until the note is on disk. Keeps no copy and
    /// reports nothing: the application goes on. When either file could not be written the
    /// outcome is NotSaved, with the note's file and why it is not written (the reply of
    /// `--append --sync` names the note).
    SaveOutcome writeNow();
    /// Tries again what could not be written.
    void retry();
    /// True while both files hold everything written to them.
    bool isWritten() const;
    /// Why the last write of \a filePath failed, as the failed write reported it (the same
    /// reason flush() gives).
    QString whyNotWritten(const QString &filePath) const;

Q_SIGNALS:
    /// A saver wrote \a key; \a ok is false when the settings file could not be written.
    void keyWritten(const QString &key, bool ok);

private:
    /// Writes \a value under the keys of the settings table's \a row.
    template<typename Row>
    void write(const Row &row, const typename Row::Value &value);
    void save(const QString &key, const std::function<bool()> &write);
    /// Saves the model's note as it is when its slices are encoded.
    void saveNote();
    void writeFinished(const QString &filePath, bool ok, const QString &reason);
    void reportSetAsideFiles();
    void reportMadePrivate();
    SaveOutcome rescueNote();

    AppState &m_state;
    /// The debounced savers, flushed when the application ends.
    QList<DebouncedWriter *> m_debounced;
    /// The files whose last write failed and that the user has been told about.
    QSet<QString> m_failing;
    /// Why the last write of each file failed.
    QHash<QString, QString> m_reasons;
    /// Counts the note's changes, so that a flush knows whether a rescue copy is still current.
    quint64 m_noteRevision = 0;
    quint64 m_outcomeRevision = 0;
    SaveOutcome m_outcome;
};
