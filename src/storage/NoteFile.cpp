#include "storage/NoteFile.h"

#include "storage/AtomicFile.h"
#include "storage/IniWriter.h"
#include "storage/PrivateFile.h"

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

NoteFile::Parsed NoteFile::parse(QByteArrayView bytes, const QString &key)
{
    static const QByteArray section("[General]\n");
    Parsed parsed;
    if (bytes.isEmpty() || bytes == section) {
        parsed.ours = true; // no note yet, or removed
        return parsed;
    }
    // "[General]\n<key>=", the empty text's quotes and line end cut off.
    const QByteArray prefix = IniWriter::generalSection({{key, QString()}}).chopped(3);
    if (!bytes.startsWith(prefix) || !bytes.endsWith('\n'))
        return parsed;
    // The text holds no bare line end: a second line would fail here.
    parsed.note
        = IniWriter::decodeText(bytes.sliced(prefix.size(), bytes.size() - prefix.size() - 1));
    parsed.ours = parsed.note.has_value();
    return parsed;
}

NoteFile::Loaded NoteFile::load(const QString &filePath, const QString &key)
{
    Loaded loaded;
    loaded.contents = PrivateFile::read(filePath, PrivateFile::maxNoteBytes);
    if (loaded.contents.exists && loaded.contents.problem.isEmpty()) {
        loaded.parsed = parse(loaded.contents.bytes, key);
        if (loaded.parsed.ours)
            loaded.contents.bytes = QByteArray();
    }
    return loaded;
}

std::optional<QString> NoteFile::text(const QString &key) const
{
    const PrivateFile::Contents contents = PrivateFile::read(m_filePath, PrivateFile::maxNoteBytes);
    if (!contents.problem.isEmpty())
        return std::nullopt;
    return parse(contents.bytes, key).note;
}

bool NoteFile::contains(const QString &key) const
{
    return text(key).has_value();
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
        const int error = write(change);
        const bool ok = error == 0;
        QString reason;
        {
            const std::lock_guard lock(m_mutex);
            if (ok) {
                m_failed.reset();
            } else {
                m_failed = change;
                reason = PrivateFile::whyUnwritable(m_filePath, error);
            }
        }
        QMetaObject::invokeMethod(
            this, [this, ok, reason] { Q_EMIT writeFinished(ok, reason); }, Qt::QueuedConnection);
    }
}

int NoteFile::write(const Change &change) const
{
    // The file holds the note alone and is written whole, without QSettings: its sync can put a
    // file cut short by a full disk in place of the whole one and report success.
    QList<QPair<QString, QString>> entries;
    if (change.value)
        entries.append({change.key, *change.value});
    PrivateFile::prepare(m_filePath);
    AtomicFile file(m_filePath, AtomicFile::Mode::Private);
    return file.write(IniWriter::generalSection(entries)) ? 0 : file.error();
}
