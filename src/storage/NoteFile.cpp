#include "storage/NoteFile.h"

#include "storage/IniWriter.h"
#include "storage/PrivateFile.h"

#include <QFile>
#include <QSettings>
#include <QStringDecoder>

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

namespace {
int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes the quoted value IniWriter::encodeText() writes, as QSettings reads it: runs of
// UTF-8 between escapes, the escapes \n \r \t \" \\ and \x with as many hex digits as follow.
// Nothing when the value holds anything else.
std::optional<QString> decodeQuoted(const char *p, const char *end)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString out;
    // Room to type into, as text() gives it.
    out.reserve((end - p) + (end - p) / 8 + 64);
    if (p < end && *p == '@') {
        if (end - p < 2 || p[1] != '@')
            return std::nullopt;
        ++p;
    }
    while (p < end) {
        const char *plain = p;
        while (p < end && *p != '\\' && *p != '"' && static_cast<unsigned char>(*p) >= 0x20)
            ++p;
        if (p > plain) {
            out += utf8(QByteArrayView(plain, p - plain));
            if (utf8.hasError())
                return std::nullopt; // not written here: QSettings decides
        }
        if (p == end)
            break;
        if (*p != '\\' || end - p < 2)
            return std::nullopt;
        ++p;
        switch (*p++) {
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        case '"':
            out += u'"';
            break;
        case '\\':
            out += u'\\';
            break;
        case 'x': {
            uint value = 0;
            int digits = 0;
            for (; p < end && hexValue(*p) >= 0; ++p, ++digits) {
                value = value * 16 + uint(hexValue(*p));
                if (value > 0xFFFF)
                    return std::nullopt;
            }
            if (digits == 0)
                return std::nullopt;
            out += QChar(char16_t(value));
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}
} // namespace

std::optional<QString> NoteFile::readWrittenForm(const QString &key) const
{
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const QByteArray head = "[General]\n" + key.toUtf8() + "=\"";
    if (!bytes.startsWith(head) || !bytes.endsWith("\"\n") || bytes.size() < head.size() + 2)
        return std::nullopt;
    return decodeQuoted(bytes.constData() + head.size(), bytes.constData() + bytes.size() - 2);
}

std::optional<QString> NoteFile::text(const QString &key) const
{
    if (auto note = readWrittenForm(key))
        return note;
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
    if (readWrittenForm(key))
        return true;
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
