// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Persistence.h"

#include "app/AppState.h"
#include "app/Settings.h"
#include "storage/DebouncedWriter.h"
#include "storage/NoteStore.h"
#include "storage/PrivateFile.h"
#include "storage/SettingsStore.h"

namespace {
QString key(const Settings::Options &row, int index = 0)
{
    return QString::fromLatin1(row.keys[size_t(index)]);
}

// A stored value as its type reads it: text when text is stored, a position when the text is
// a raw value, a number or a size only when greater than 0, a Boolean when one is stored.
std::optional<QString> read(const SettingsStore &store, const Settings::Options &row, QString *)
{
    return store.text(key(row));
}

std::optional<DrawerPosition> read(const SettingsStore &store, const Settings::Options &row,
                                   DrawerPosition *)
{
    if (const auto raw = store.text(key(row)))
        return DrawerPositions::fromRawValue(*raw);
    return std::nullopt;
}

std::optional<double> read(const SettingsStore &store, const Settings::Options &row, double *)
{
    if (const double number = store.number(key(row)); number > 0)
        return number;
    return std::nullopt;
}

std::optional<QSizeF> read(const SettingsStore &store, const Settings::Options &row, QSizeF *)
{
    const double width = store.number(key(row, 0));
    const double height = store.number(key(row, 1));
    if (width > 0 && height > 0)
        return QSizeF(width, height);
    return std::nullopt;
}

std::optional<bool> read(const SettingsStore &store, const Settings::Options &row, bool *)
{
    return store.boolean(key(row));
}

// Colours have no form in the file: they are held while the application runs only.
std::optional<QColor> read(const SettingsStore &, const Settings::Options &, QColor *)
{
    return std::nullopt;
}
} // namespace

Persistence::Persistence(AppState &state)
    : m_state(state)
{
    connect(&m_state.userDefaults(), &SettingsStore::writeFinished, this,
            &Persistence::writeFinished);
    connect(&m_state.noteStore(), &NoteStore::writeFinished, this, &Persistence::writeFinished);
}

Persistence::~Persistence()
{
    flush();
}

void Persistence::loadSavedContent()
{
    const SettingsStore &store = m_state.userDefaults();
    reportMadePrivate();
    reportSetAsideFiles();
    // The note first, from its own store.
    if (auto note = m_state.noteStore().text())
        m_state.setNoteContent(*note);
    Settings::forEach([this, &store](const auto &row) {
        if (!row.isSaved())
            return;
        using T = typename std::decay_t<decltype(row)>::Value;
        const std::optional<T> stored = read(store, row, static_cast<T *>(nullptr));
        // A switch always takes a value: the stored one, or its initial value.
        if constexpr (std::is_same_v<T, bool>)
            row.assign(m_state, stored.value_or(row.initial));
        else if (stored)
            row.assign(m_state, *stored);
        if (row.afterLoad)
            row.afterLoad(m_state);
    });
}

void Persistence::reportSetAsideFiles()
{
    const QList<PrivateFile::SetAside> files
        = m_state.userDefaults().setAside() + m_state.noteStore().setAside();
    for (const PrivateFile::SetAside &file : files) {
        const QString line = file.copy.isEmpty()
            ? QStringLiteral("❌ Could not read %1 (%2), nor move it aside; it is left as it is")
                  .arg(file.original, file.reason)
            : QStringLiteral("❌ Could not read %1 (%2); kept it as %3")
                  .arg(file.original, file.reason, file.copy);
        m_state.printLine(line);
        const QString message = file.copy.isEmpty()
            ? tr("%1 could not be read (%2). Jotshelf started with what it could "
                 "read and the defaults for the rest.")
                  .arg(file.original, file.reason)
            : tr("%1 could not be read (%2). Jotshelf started with what it could "
                 "read and the defaults for the rest; the original is kept as %3.")
                  .arg(file.original, file.reason, file.copy);
        m_state.requestNotice(tr("Settings could not be read"), message);
    }
}

void Persistence::reportMadePrivate()
{
    const QStringList paths
        = m_state.userDefaults().madePrivate() + m_state.noteStore().madePrivate();
    if (paths.isEmpty())
        return;
    m_state.printLine(QStringLiteral("🔒 Made %1 readable by you only (others could read %2)")
                          .arg(paths.join(QStringLiteral(", ")),
                               paths.size() == 1 ? QStringLiteral("it") : QStringLiteral("them")));
}

void Persistence::save(const QString &key, const std::function<bool()> &write)
{
    // Each change is a chance to write again what could not be written before.
    if (!m_failing.isEmpty())
        retry();
    Q_EMIT keyWritten(key, write());
}

template<typename Row>
void Persistence::write(const Row &row, const typename Row::Value &value)
{
    SettingsStore &store = m_state.userDefaults();
    using T = typename Row::Value;
    if constexpr (std::is_same_v<T, QString>) {
        save(key(row), [&] { return store.setText(key(row), value); });
    } else if constexpr (std::is_same_v<T, DrawerPosition>) {
        save(key(row), [&] { return store.setText(key(row), DrawerPositions::rawValue(value)); });
    } else if constexpr (std::is_same_v<T, QSizeF>) {
        save(key(row, 0), [&] { return store.setNumber(key(row, 0), value.width()); });
        save(key(row, 1), [&] { return store.setNumber(key(row, 1), value.height()); });
    } else if constexpr (std::is_same_v<T, bool>) {
        save(key(row), [&] { return store.setBoolean(key(row), value); });
    } else if constexpr (std::is_same_v<T, double>) {
        save(key(row), [&] { return store.setNumber(key(row), value); });
    } else {
        Q_ASSERT_X(false, "Persistence::write", "a saved row of a type with no form in the file");
    }
}

void Persistence::saveNote()
{
    NoteStore &notes = m_state.noteStore();
    // Encoded from the model's own string between events, then written in the background: a
    // string handed to the writer thread would be shared with the model, and a keystroke
    // before the thread had a copy of its own would copy the whole note.
    save(NoteStore::key, [&notes, &state = m_state] {
        notes.save([&state] { return QStringView(state.noteContent()); });
        return true;
    });
}

void Persistence::setupAutoSave()
{
    connect(&m_state, &AppState::noteContentChanged, this, [this] {
        // Each change of the note makes a rescue copy taken before it out of date, and the
        // note's encoding under way stale: the save after the next pause writes the new note.
        ++m_noteRevision;
        m_state.noteStore().noteChanged();
    });
    // The note first. The note written when the pause ends is the one the model holds then:
    // holding each value instead would make every keystroke copy the whole note.
    auto *noteWriter = new DebouncedWriter(debounceMs, this);
    m_debounced.append(noteWriter);
    m_state.subscribe(
        &AppState::noteContent, &AppState::noteContentChanged, this,
        [this, noteWriter](const QString &) { noteWriter->schedule([this] { saveNote(); }); });
    Settings::forEach([this](const auto &row) {
        if (row.saving == Settings::Saving::AtOnce) {
            m_state.subscribe(row.get, row.changed, this,
                              [this, &row](const auto &value) { write(row, value); });
        } else if (row.saving == Settings::Saving::Debounced) {
            // As for the note: the value written is the one the property holds when the pause
            // ends.
            auto *writer = new DebouncedWriter(debounceMs, this);
            m_debounced.append(writer);
            m_state.subscribe(row.get, row.changed, this, [this, &row, writer](const auto &) {
                writer->schedule([this, &row] { write(row, row.value(m_state)); });
            });
        }
    });
}

void Persistence::retry()
{
    m_state.userDefaults().retry();
    m_state.noteStore().retry();
}

bool Persistence::isWritten() const
{
    return m_state.userDefaults().isWritten() && m_state.noteStore().isWritten();
}

void Persistence::writeFinished(const QString &filePath, bool ok, const QString &reason)
{
    // One line and one notice while writing fails, whichever of the two files fails first.
    if (ok) {
        m_reasons.remove(filePath);
        if (m_failing.remove(filePath) && m_failing.isEmpty())
            m_state.printLine(QStringLiteral("✅ Saved to %1 again").arg(filePath));
        return;
    }
    m_reasons.insert(filePath, reason);
    const bool toldAlready = !m_failing.isEmpty();
    m_failing.insert(filePath);
    if (toldAlready)
        return;
    m_state.printLine(QStringLiteral("❌ Could not save to %1: %2").arg(filePath, reason));
    m_state.requestNotice(tr("Your note is not saved"),
                          tr("Jotshelf could not write %1: %2. The note is kept in memory and "
                             "Jotshelf tries again with every change.")
                              .arg(filePath, reason));
}

SaveOutcome Persistence::writeNow()
{
    for (DebouncedWriter *writer : std::as_const(m_debounced))
        writer->flush();
    retry();
    m_state.userDefaults().sync();
    m_state.noteStore().waitForWritten();
    if (isWritten())
        return {};
    SaveOutcome outcome;
    outcome.result = SaveOutcome::Result::NotSaved;
    outcome.file = m_state.noteStore().filePath();
    outcome.reason = whyNotWritten(outcome.file);
    return outcome;
}

QString Persistence::whyNotWritten(const QString &filePath) const
{
    // The write's own word first: its report may still be on its way here.
    const NoteStore &notes = m_state.noteStore();
    if (filePath == notes.filePath()) {
        if (const QString reason = notes.failureReason(); !reason.isEmpty())
            return reason;
    }
    const QString reason = m_reasons.value(filePath);
    return reason.isEmpty() ? PrivateFile::whyUnwritable(filePath) : reason;
}

SaveOutcome Persistence::flush()
{
    if (writeNow().isSaved()) {
        m_outcome = SaveOutcome();
        return m_outcome;
    }
    // The end of the application may flush more than once (a signal, the quit, the model's
    // end): the user hears of it once for each note.
    if (!m_outcome.isSaved() && m_outcomeRevision == m_noteRevision)
        return m_outcome;
    m_outcome = rescueNote();
    m_outcomeRevision = m_noteRevision;
    return m_outcome;
}

// A file cannot be written and the application is ending: say which and why, and when it is
// the note's, put the note where the user can find it, if there is such a place.
SaveOutcome Persistence::rescueNote()
{
    const NoteStore &notes = m_state.noteStore();
    SaveOutcome outcome;
    outcome.result = SaveOutcome::Result::NotSaved;
    const bool noteLost = !notes.isWritten();
    outcome.file = noteLost ? notes.filePath() : m_state.userDefaults().filePath();
    outcome.reason = whyNotWritten(outcome.file);
    m_state.printLine(QStringLiteral("❌ Quitting without saving: %1 cannot be written (%2)")
                          .arg(outcome.file, outcome.reason));
    if (!noteLost)
        return outcome;
    outcome.rescuePath = NoteStore::rescue(m_state.noteContent());
    if (!outcome.rescuePath.isEmpty()) {
        m_state.printLine(QStringLiteral("   The note was written to %1").arg(outcome.rescuePath));
        return outcome;
    }
    outcome.result = SaveOutcome::Result::Lost;
    m_state.printLine(QStringLiteral("   The note could not be written anywhere"));
    return outcome;
}
