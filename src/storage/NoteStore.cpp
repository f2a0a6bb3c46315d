// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/NoteStore.h"

#include "storage/AtomicFile.h"
#include "storage/RescueCopy.h"
#include "storage/SettingsStore.h"

#include <QFileInfo>

#include <system_error>

const QString NoteStore::key = QStringLiteral("noteContent");

namespace {
// The note as far as a damaged file lets it be read: an INI line with unquoted commas reads as
// a list of its pieces.
std::optional<QString> noteFrom(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return std::nullopt;
}

// A note that is not plain text (a hand-made list, a typed value) would read as no note at all,
// and the next save would replace it.
bool isPlainTextOrAbsent(const QVariant &note)
{
    return !note.isValid() || note.typeId() == QMetaType::QString;
}

QString notPlainText()
{
    return QStringLiteral("the note in it is not plain text");
}
} // namespace

QString NoteStore::fileBeside(const QString &settingsFilePath)
{
    return QFileInfo(settingsFilePath).absolutePath() + QStringLiteral("/note.conf");
}

std::future<NoteFile::Loaded> NoteStore::readInBackground(const QString &settingsFilePath)
{
    try {
        return std::async(std::launch::async, &NoteFile::load, fileBeside(settingsFilePath), key);
    } catch (const std::system_error &) {
        return {}; // no thread to be had: the store reads the file when it opens
    }
}

NoteStore::NoteStore(SettingsStore &settings, std::future<NoteFile::Loaded> preloaded,
                     QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_file(fileBeside(settings.filePath()))
{
    // Before anything is read, as the settings store does with its file.
    if (PrivateFile::makePrivate(filePath()))
        m_madePrivate.append(filePath());
    AtomicFile::removeStaleTemporaries(filePath());
    connect(&m_file, &NoteFile::writeFinished, this, [this](bool ok, const QString &reason) {
        // The note moved to its own file: drop the copy an older version kept in the settings.
        if (ok && m_settings.contains(key))
            m_settings.remove(key);
        Q_EMIT writeFinished(filePath(), ok, reason);
    });
    if (!m_settings.unreadable().isEmpty())
        return;
    takeOlderNote();
    open(std::move(preloaded));
}

NoteStore::~NoteStore() = default;

// The note an older version kept in the settings file. In a settings file set aside it goes no
// further: it is offered as recovered, never written back there.
void NoteStore::takeOlderNote()
{
    if (m_settings.setAside().isEmpty() && !isPlainTextOrAbsent(m_settings.value(key)))
        m_settings.setFileAside(notPlainText());
    if (!m_settings.setAside().isEmpty())
        m_recoveredNote = noteFrom(m_settings.take(key));
}

void NoteStore::open(std::future<NoteFile::Loaded> preloaded)
{
    const QString path = filePath();
    // The file is read once; only one that is not the note as NoteFile writes it goes through
    // QSettings, to recover what it can.
    NoteFile::Loaded note = preloaded.valid() ? preloaded.get() : NoteFile::load(path, key);
    if (note.parsed.ours) {
        m_startNote = std::move(note.parsed.note);
        return;
    }
    // A note that outgrew the limit: its head is loaded, the whole file kept beside it.
    if (note.head) {
        const QString copy = PrivateFile::setAside(path);
        if (copy.isEmpty())
            m_unreadable = QStringLiteral("%1 is longer than %2 MB, more than Jotshelf reads, "
                                          "and could not be moved aside to be kept whole")
                               .arg(path)
                               .arg(PrivateFile::maxNoteBytes >> 20);
        else
            m_setAside.append({path, copy,
                               QStringLiteral("it is longer than %1 MB, more than Jotshelf "
                                              "reads; the note holds its first %1 MB")
                                   .arg(PrivateFile::maxNoteBytes >> 20)});
        m_startNote = std::move(note.head);
        return;
    }
    // Anything beside the note would be gone with the next save.
    const PrivateFile::Checked checked = PrivateFile::checkIni(
        path, note.contents, PrivateFile::maxNoteBytes, [](const QVariantMap &values) {
            return isPlainTextOrAbsent(values.value(key))
                ? QStringLiteral("it holds more than the note, or the "
                                 "note in another form")
                : notPlainText();
        });
    m_unreadable = checked.unreadable;
    if (checked.setAside)
        m_setAside.append(*checked.setAside);
    if (const auto recovered = noteFrom(checked.values.value(key)))
        m_recoveredNote = recovered;
}

std::optional<QString> NoteStore::text() const
{
    if (m_startNote)
        return std::exchange(m_startNote, std::nullopt);
    if (auto note = m_file.text(key))
        return note;
    // The same for a note recovered from a file set aside.
    if (m_recoveredNote)
        return std::exchange(m_recoveredNote, std::nullopt);
    return m_settings.text(key);
}

void NoteStore::save(NoteEncoder::Source source)
{
    m_file.save(key, std::move(source));
}

void NoteStore::noteChanged()
{
    m_file.noteChanged();
}

void NoteStore::setText(const QString &note)
{
    m_file.setText(key, note);
}

void NoteStore::remove()
{
    m_file.remove(key);
}

void NoteStore::retry()
{
    m_file.retry();
}

bool NoteStore::waitForWritten()
{
    return m_file.waitForWritten();
}

QString NoteStore::rescue(const QString &note)
{
    return RescueCopy::write(note.toUtf8());
}
