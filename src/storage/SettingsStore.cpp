// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/SettingsStore.h"

#include "storage/AtomicFile.h"
#include "storage/IniWriter.h"
#include "storage/NoteFile.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>
#include <system_error>

const QString SettingsStore::noteKey = QStringLiteral("noteContent");

namespace {
QString noteFileBeside(const QString &settingsPath)
{
    return QFileInfo(settingsPath).absolutePath() + QStringLiteral("/note.conf");
}

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
// Whether an INI file holds at least one line "key=value" with a key.
bool holdsKeys(QByteArrayView bytes)
{
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView line = bytes.sliced(start, end - start).trimmed();
        if (!line.startsWith(';') && !line.startsWith('#') && !line.startsWith('[')
            && line.indexOf('=') > 0)
            return true;
        start = end + 1;
    }
    return false;
}
} // namespace

SettingsStore::SettingsStore(const QString &filePath, QObject *parent)
    : SettingsStore(filePath, std::future<NoteFile::Loaded>(), parent)
{ }

std::future<NoteFile::Loaded> SettingsStore::readNoteInBackground(const QString &filePath)
{
    try {
        return std::async(std::launch::async, &NoteFile::load, noteFileBeside(filePath), noteKey);
    } catch (const std::system_error &) {
        return {}; // no thread to be had: the store reads the file when it opens
    }
}

SettingsStore::SettingsStore(const QString &filePath, std::future<NoteFile::Loaded> preloaded,
                             QObject *parent)
    : QObject(parent)
    , m_filePath(filePath)
    , m_note(std::make_unique<NoteFile>(noteFileBeside(filePath)))
{
    const QString notePath = m_note->filePath();
    // Before anything is read: files from a backup or an older version may be open to others,
    // and writes killed half-way may have left their new files beside the old.
    for (const QString &path : {QFileInfo(filePath).absolutePath(), filePath, notePath}) {
        if (PrivateFile::makePrivate(path))
            m_madePrivate.append(path);
    }
    AtomicFile::removeStaleTemporaries(filePath);
    AtomicFile::removeStaleTemporaries(notePath);

    // A damaged file is put aside whole before anything is written; what could be read from
    // it is kept, to be written again to the new file.
    const PrivateFile::Contents settings
        = PrivateFile::readRetrying(filePath, PrivateFile::maxSettingsBytes);
    const QVariantMap values = checkFile(filePath, settings, false);
    const bool settingsSetAside = !m_setAside.isEmpty();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!settingsSetAside) {
            m_values.insert(it.key(), it.value());
        } else if (it.key() != noteKey) {
            m_values.insert(it.key(), it.value());
            m_dirty = true;
        } else if (const auto note = noteFrom(it.value())) {
            m_recoveredNote = note;
        }
    }

    if (!m_unreadable.isEmpty()) {
        connectNote();
        return; // nothing is to be written: the application does not start
    }
    // The note file is read once; only one that is not the note as NoteFile writes it goes
    // through QSettings, to recover what it can.
    NoteFile::Loaded note = preloaded.valid() ? preloaded.get() : NoteFile::load(notePath, noteKey);
    if (note.parsed.ours) {
        m_startNote = std::move(note.parsed.note);
        connectNote();
        return;
    }
    // A note that outgrew the limit: its head is loaded, the whole file kept beside it.
    if (note.head) {
        const QString copy = PrivateFile::setAside(notePath);
        if (copy.isEmpty())
            m_unreadable = QStringLiteral("%1 is longer than %2 MB, more than Jotshelf reads, "
                                          "and could not be moved aside to be kept whole")
                               .arg(notePath)
                               .arg(PrivateFile::maxNoteBytes >> 20);
        else
            m_setAside.append({notePath, copy,
                               QStringLiteral("it is longer than %1 MB, more than Jotshelf "
                                              "reads; the note holds its first %1 MB")
                                   .arg(PrivateFile::maxNoteBytes >> 20)});
        m_startNote = std::move(note.head);
        connectNote();
        return;
    }
    const QVariantMap recoveredNote = checkFile(notePath, note.contents, true);
    if (const auto recovered = noteFrom(recoveredNote.value(noteKey)))
        m_recoveredNote = recovered;
    connectNote();
}

void SettingsStore::connectNote()
{
    connect(m_note.get(), &NoteFile::writeFinished, this, [this](bool ok, const QString &reason) {
        // The note moved to its own file: drop the copy an older version kept here.
        if (ok && m_values.remove(noteKey) > 0) {
            m_dirty = true;
            sync();
        }
        Q_EMIT writeFinished(m_note->filePath(), ok, reason);
    });
}

SettingsStore::~SettingsStore() = default;

QVariantMap SettingsStore::checkFile(const QString &path, const PrivateFile::Contents &contents,
                                     bool isNoteFile)
{
    QVariantMap values;
    if (!contents.exists)
        return values;
    if (contents.failed) {
        m_unreadable = QStringLiteral("cannot read %1: %2").arg(path, contents.problem);
        return values;
    }
    QString reason
        = contents.problem.isEmpty() ? PrivateFile::problemIn(contents.bytes) : contents.problem;
    // QSettings reads only a file that was read whole here, or a link to a regular file within
    // the limit: never a FIFO (it would wait for a writer for ever) nor a huge file.
    const QFileInfo info(path);
    const qint64 limit = isNoteFile ? PrivateFile::maxNoteBytes : PrivateFile::maxSettingsBytes;
    const bool readable
        = contents.problem.isEmpty() || (info.isSymLink() && info.isFile() && info.size() <= limit);
    if (readable) {
        const QSettings probe(path, QSettings::IniFormat);
        if (reason.isEmpty() && probe.status() != QSettings::NoError)
            reason = QStringLiteral("it could not be parsed");
        // A note that is not plain text (a hand-made list, a typed value) would read as no
        // note at all, and the next save would replace it.
        if (reason.isEmpty() && probe.contains(noteKey)
            && probe.value(noteKey).typeId() != QMetaType::QString)
            reason = QStringLiteral("the note in it is not plain text");
        // Anything beside the note would be gone with the next save.
        if (reason.isEmpty() && isNoteFile)
            reason = QStringLiteral("it holds more than the note, or the note in another form");
        const QStringList keys = probe.allKeys();
        // QSettings says nothing when it cannot open the file (no descriptor left): a file
        // read here with settings in it that it found empty was not read there.
        if (keys.isEmpty() && contents.problem.isEmpty() && holdsKeys(contents.bytes)) {
            m_unreadable
                = QStringLiteral("cannot read %1: it could not be opened a second time").arg(path);
            return {};
        }
        for (const QString &key : keys)
            values.insert(key, probe.value(key));
    }
    if (!reason.isEmpty())
        m_setAside.append({path, PrivateFile::setAside(path), reason});
    return values;
}

QString SettingsStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Jotshelf/Jotshelf.conf");
}

QString SettingsStore::noteFilePath() const
{
    return m_note->filePath();
}

QVariant SettingsStore::value(const QString &key) const
{
    if (key == noteKey) {
        if (const auto note = text(key))
            return *note;
    }
    return m_values.value(key);
}

std::optional<QString> SettingsStore::text(const QString &key) const
{
    if (key == noteKey) {
        // The note read at opening goes to its first reader: a copy shared with this store
        // would be copied whole by the first keystroke.
        if (m_startNote)
            return std::exchange(m_startNote, std::nullopt);
        if (auto note = m_note->text(key))
            return note;
        // The same for a note recovered from a file set aside: kept here as well, it would
        // stay in memory twice.
        if (m_recoveredNote)
            return std::exchange(m_recoveredNote, std::nullopt);
    }
    const QVariant value = m_values.value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

double SettingsStore::number(const QString &key) const
{
    const QVariant value = this->value(key);
    bool ok = false;
    double number = 0;
    switch (value.typeId()) {
    case QMetaType::QString:
        number = value.toString().trimmed().toDouble(&ok);
        break;
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        number = value.toDouble(&ok);
        break;
    default:
        break;
    }
    return ok && std::isfinite(number) ? number : 0.0;
}

std::optional<bool> SettingsStore::boolean(const QString &key) const
{
    const QVariant value = this->value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
    }
    return std::nullopt;
}

bool SettingsStore::contains(const QString &key) const
{
    return (key == noteKey && (m_startNote || m_recoveredNote || m_note->contains(key)))
        || m_values.contains(key);
}

bool SettingsStore::setText(const QString &key, const QString &value)
{
    if (key == noteKey) {
        m_note->setText(key, value);
        return true;
    }
    return write(key, value);
}

void SettingsStore::saveNote(NoteEncoder::Source source)
{
    m_note->save(noteKey, std::move(source));
}

void SettingsStore::noteChanged()
{
    m_note->noteChanged();
}

bool SettingsStore::setNumber(const QString &key, double value)
{
    return write(key, value);
}

bool SettingsStore::setBoolean(const QString &key, bool value)
{
    return write(key, value);
}

bool SettingsStore::remove(const QString &key)
{
    if (key == noteKey)
        m_note->remove(key);
    m_values.remove(key);
    m_dirty = true;
    return sync();
}

bool SettingsStore::write(const QString &key, const QVariant &value)
{
    m_values.insert(key, value);
    m_dirty = true;
    return sync();
}

bool SettingsStore::sync()
{
    if (!m_dirty && m_settingsWritten)
        return true;
    // Written whole, without QSettings: its sync can put a file cut short by a full disk in
    // place of the whole one and report success.
    PrivateFile::prepare(m_filePath);
    AtomicFile file(m_filePath, AtomicFile::Mode::Private);
    const bool ok = file.write(IniWriter::encodeFile(m_values));
    m_settingsWritten = ok;
    if (ok)
        m_dirty = false;
    Q_EMIT writeFinished(m_filePath, ok,
                         ok ? QString() : PrivateFile::whyUnwritable(m_filePath, file.error()));
    return ok;
}

void SettingsStore::retry()
{
    if (!m_settingsWritten)
        sync();
    m_note->retry();
}

bool SettingsStore::waitForNote()
{
    return m_note->waitForWritten();
}

bool SettingsStore::isWritten() const
{
    return m_settingsWritten && m_note->isWritten();
}

bool SettingsStore::isNoteWritten() const
{
    return m_note->isWritten();
}
