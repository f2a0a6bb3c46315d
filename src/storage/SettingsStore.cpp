#include "storage/SettingsStore.h"

#include "storage/IniWriter.h"
#include "storage/NoteFile.h"
#include "storage/PrivateFile.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>

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
} // namespace

SettingsStore::SettingsStore(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(filePath)
    , m_note(std::make_unique<NoteFile>(noteFileBeside(filePath)))
{
    // A damaged file is put aside whole before anything is written; what could be read from
    // it is kept, to be written again to the new file.
    const QVariantMap recovered = checkFile(filePath);
    if (recovered.isEmpty() && m_setAside.isEmpty()) {
        const QSettings settings(filePath, QSettings::IniFormat);
        for (const QString &key : settings.allKeys())
            m_values.insert(key, settings.value(key));
    }
    for (auto it = recovered.cbegin(); it != recovered.cend(); ++it) {
        if (it.key() != noteKey) {
            m_values.insert(it.key(), it.value());
            m_dirty = true;
        } else if (const auto note = noteFrom(it.value())) {
            m_recoveredNote = note;
        }
    }
    const QVariantMap recoveredNote = checkFile(m_note->filePath());
    if (const auto note = noteFrom(recoveredNote.value(noteKey)))
        m_recoveredNote = note;

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

QVariantMap SettingsStore::checkFile(const QString &path)
{
    QString reason = PrivateFile::problemWith(path);
    QVariantMap values;
    // Only a regular file is read: opening a FIFO would wait for a writer for ever.
    if (reason.isEmpty() || QFileInfo(path).isFile()) {
        const QSettings probe(path, QSettings::IniFormat);
        if (reason.isEmpty() && probe.status() != QSettings::NoError)
            reason = QStringLiteral("it could not be parsed");
        // A note that is not plain text (a hand-made list, a typed value) would read as no
        // note at all, and the next save would replace it.
        if (reason.isEmpty() && probe.contains(noteKey)
            && probe.value(noteKey).typeId() != QMetaType::QString)
            reason = QStringLiteral("the note in it is not plain text");
        if (reason.isEmpty())
            return values;
        for (const QString &key : probe.allKeys())
            values.insert(key, probe.value(key));
    }
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
    if (key == noteKey && m_note->contains(key))
        return m_note->text(key).value_or(QString());
    return m_values.value(key);
}

std::optional<QString> SettingsStore::text(const QString &key) const
{
    if (key == noteKey && m_note->contains(key))
        return m_note->text(key);
    if (key == noteKey && m_recoveredNote)
        return m_recoveredNote;
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
    return (key == noteKey && m_note->contains(key)) || m_values.contains(key);
}

bool SettingsStore::setText(const QString &key, const QString &value)
{
    if (key == noteKey) {
        m_note->setText(key, value);
        return true;
    }
    return write(key, value);
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
    const bool ok = IniWriter::replaceFile(m_filePath, IniWriter::encodeFile(m_values));
    m_settingsWritten = ok;
    if (ok)
        m_dirty = false;
    Q_EMIT writeFinished(m_filePath, ok, ok ? QString() : PrivateFile::whyUnwritable(m_filePath));
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
