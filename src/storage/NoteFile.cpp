#include "storage/NoteFile.h"

#include "storage/IniWriter.h"
#include "storage/PrivateFile.h"

#include <QSettings>

NoteFile::NoteFile(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(filePath)
{
    m_pool.setMaxThreadCount(1);
}

NoteFile::~NoteFile()
{
    m_pool.waitForDone();
}

std::optional<QString> NoteFile::text(const QString &key) const
{
    const QSettings settings(m_filePath, QSettings::IniFormat);
    const QVariant value = settings.value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    // A copy of its own, with room to type into: QSettings keeps what it read for the rest of
    // the run, and a note shared with it, or filled to the brim, would be copied whole by the
    // first keystroke.
    const QString text = value.toString();
    QString note;
    note.reserve(text.size() + text.size() / 8 + 64);
    note.append(text);
    return note;
}

bool NoteFile::contains(const QString &key) const
{
    return QSettings(m_filePath, QSettings::IniFormat).contains(key);
}

void NoteFile::setText(const QString &key, const QString &value)
{
    enqueue({key, value});
}

void NoteFile::remove(const QString &key)
{
    enqueue({key, std::nullopt});
}

void NoteFile::retry()
{
    std::optional<Change> failed;
    {
        const std::lock_guard lock(m_mutex);
        if (m_pending || m_running)
            return; // a newer write is on its way anyway
        failed = std::exchange(m_failed, std::nullopt);
    }
    if (failed)
        enqueue(*failed);
}

bool NoteFile::isWritten() const
{
    const std::lock_guard lock(m_mutex);
    return !m_failed;
}

bool NoteFile::waitForWritten()
{
    m_pool.waitForDone();
    return isWritten();
}

void NoteFile::enqueue(Change change)
{
    const std::lock_guard lock(m_mutex);
    m_pending = std::move(change);
    if (m_running)
        return;
    m_running = true;
    m_pool.start([this] { drain(); });
}

// Runs on the pool's thread: writes the newest change until none waits.
void NoteFile::drain()
{
    for (;;) {
        Change change;
        {
            const std::lock_guard lock(m_mutex);
            if (!m_pending) {
                m_running = false;
                return;
            }
            change = std::move(*m_pending);
            m_pending.reset();
        }
        // A copy of the writer's own, made at once: while this thread shares the model's note,
        // a keystroke makes the main thread copy the whole note before it can change it.
        if (change.value)
            change.value = QString(change.value->constData(), change.value->size());
        const bool ok = write(change);
        QString reason;
        {
            const std::lock_guard lock(m_mutex);
            if (ok) {
                m_failed.reset();
            } else {
                m_failed = change;
                reason = PrivateFile::whyUnwritable(m_filePath);
            }
        }
        QMetaObject::invokeMethod(
            this, [this, ok, reason] { Q_EMIT writeFinished(ok, reason); }, Qt::QueuedConnection);
    }
}

bool NoteFile::write(const Change &change) const
{
    // The file holds the note alone and is written whole, without QSettings: its sync can put a
    // file cut short by a full disk in place of the whole one and report success.
    QList<QPair<QString, QString>> entries;
    if (change.value)
        entries.append({change.key, *change.value});
    PrivateFile::prepare(m_filePath);
    return IniWriter::replaceFile(m_filePath, IniWriter::generalSection(entries));
}
