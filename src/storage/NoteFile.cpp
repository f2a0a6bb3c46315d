// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/NoteFile.h"

#include "storage/IniWriter.h"
#include "storage/PrivateFile.h"

NoteFile::NoteFile(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(filePath)
{
    m_pool.setMaxThreadCount(1);
    connect(&m_encoder, &NoteEncoder::finished, this,
            [this](const QByteArray &file) { enqueue(file); });
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

std::optional<QString> NoteFile::parseHead(QByteArray head, const QString &key)
{
    const QByteArray prefix = IniWriter::generalSection({{key, QString()}}).chopped(2);
    if (!head.startsWith(prefix))
        return std::nullopt;
    // Room for the closing quote and the line end.
    qsizetype end = std::min(head.size(), qsizetype(PrivateFile::maxNoteBytes) - 2);
    // An escape takes at most 6 bytes ("\xfeff"): one the cut may have split is left out. An
    // even run of backslashes is escaped backslashes, whole.
    const qsizetype backslash = head.lastIndexOf('\\', end - 1);
    if (backslash >= prefix.size() && backslash >= end - 6) {
        qsizetype run = 1;
        while (backslash - run >= prefix.size() && head[backslash - run] == '\\')
            ++run;
        if (run % 2 == 1)
            end = backslash;
    }
    // So is a UTF-8 sequence the cut split.
    qsizetype lead = end;
    while (lead > prefix.size() && end - lead < 3 && (uchar(head[lead - 1]) & 0xC0) == 0x80)
        --lead;
    if (lead > prefix.size() && uchar(head[lead - 1]) >= 0xC0) {
        const uchar first = uchar(head[lead - 1]);
        const qsizetype length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : 2;
        if (end - (lead - 1) < length)
            end = lead - 1;
    }
    // A leading '@' is written doubled: one alone is half of that.
    if (end == prefix.size() + 1 && head[prefix.size()] == '@')
        end = prefix.size();
    head.truncate(end);
    head.append('"');
    return IniWriter::decodeText(QByteArrayView(head).sliced(prefix.size() - 1));
}

NoteFile::Loaded NoteFile::load(const QString &filePath, const QString &key)
{
    Loaded loaded;
    loaded.contents
        = PrivateFile::readRetrying(filePath, PrivateFile::maxNoteBytes, PrivateFile::Larger::Head);
    if (loaded.contents.cutShort) {
        loaded.head = parseHead(std::exchange(loaded.contents.bytes, {}), key);
    } else if (loaded.contents.exists && loaded.contents.problem.isEmpty()) {
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
    m_encoder.cancel(); // older than this text
    enqueue(IniWriter::generalSection({{key, value}}));
}

void NoteFile::save(const QString &key, NoteEncoder::Source source)
{
    m_encoder.start(key, std::move(source));
}

void NoteFile::noteChanged()
{
    m_encoder.cancel();
}

void NoteFile::remove(const QString &)
{
    m_encoder.cancel();
    enqueue(IniWriter::generalSection({}));
}

void NoteFile::retry()
{
    if (m_encoder.isRunning())
        return; // a newer note is on its way
    std::optional<QByteArray> failed;
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

QString NoteFile::failureReason() const
{
    const std::lock_guard lock(m_mutex);
    return m_failed ? m_failureReason : QString();
}

bool NoteFile::waitForWritten()
{
    m_encoder.finish();
    m_pool.waitForDone();
    return isWritten();
}

void NoteFile::enqueue(QByteArray file)
{
    const std::lock_guard lock(m_mutex);
    m_pending = std::move(file);
    if (m_running)
        return;
    m_running = true;
    m_pool.start([this] { drain(); });
}

// Runs on the pool's thread: writes the newest file until none waits.
void NoteFile::drain()
{
    for (;;) {
        QByteArray file;
        {
            const std::lock_guard lock(m_mutex);
            if (!m_pending) {
                m_running = false;
                return;
            }
            file = std::move(*m_pending);
            m_pending.reset();
        }
        // The file holds the note alone.
        const QString reason = PrivateFile::write(m_filePath, file);
        const bool ok = reason.isEmpty();
        {
            const std::lock_guard lock(m_mutex);
            if (ok)
                m_failed.reset();
            else
                m_failed = std::move(file);
            m_failureReason = reason;
        }
        QMetaObject::invokeMethod(
            this, [this, ok, reason] { Q_EMIT writeFinished(ok, reason); }, Qt::QueuedConnection);
    }
}
