// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/NoteEncoder.h"

#include "storage/IniWriter.h"

#include <algorithm>
#include <limits>

namespace {
// "[General]\n<key>=", as IniWriter writes the line of a text value up to the text.
QByteArray prefixOf(const QString &key)
{
    return IniWriter::generalSection({{key, QString()}}).chopped(3);
}

void reserveFor(QByteArray &file, qsizetype prefix, QStringView note)
{
    // Most notes are mostly ASCII; the rest grows the buffer as it goes.
    file.reserve(prefix + note.size() + note.size() / 8 + 8);
}
} // namespace

NoteEncoder::NoteEncoder(QObject *parent)
    : QObject(parent)
{
    // A zero interval runs a slice whenever the event loop has nothing else to do: keystrokes
    // and repaints go first, and each waits for at most one slice.
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &NoteEncoder::encodeSlice);
}

void NoteEncoder::start(const QString &key, Source source)
{
    m_source = std::move(source);
    m_prefix = prefixOf(key);
    begin(m_source());
    m_slices.start();
}

void NoteEncoder::begin(QStringView note)
{
    m_file = QByteArray();
    reserveFor(m_file, m_prefix.size(), note);
    m_file += m_prefix;
    IniWriter::beginText(m_file, note);
    m_position = 0;
    m_afterHexEscape = false;
    m_data = note.data();
    m_size = note.size();
}

void NoteEncoder::cancel()
{
    m_slices.stop();
    m_source = nullptr;
    m_file = QByteArray(); // a note's worth of memory, given back now
}

bool NoteEncoder::encodeMore(qsizetype characters)
{
    const QStringView note = m_source();
    // The owner says when the note changes; a note that is no longer where it was, or no longer
    // as long, is encoded again from its start all the same, never from a stale position.
    if (note.data() != m_data || note.size() != m_size)
        begin(note);
    m_position = IniWriter::appendText(m_file, note, m_position,
                                       m_position + std::min(characters, m_size - m_position),
                                       m_afterHexEscape);
    if (m_position < m_size)
        return false;
    IniWriter::endText(m_file);
    m_file += '\n';
    return true;
}

void NoteEncoder::encodeSlice()
{
    if (m_source && encodeMore(sliceSize))
        handOver();
}

void NoteEncoder::finish()
{
    if (m_source && encodeMore(std::numeric_limits<qsizetype>::max()))
        handOver();
}

void NoteEncoder::handOver()
{
    m_slices.stop();
    m_source = nullptr;
    // Handed over whole: once the receiver holds it, this encoder keeps nothing of it.
    const QByteArray file = std::exchange(m_file, QByteArray());
    Q_EMIT finished(file);
}
