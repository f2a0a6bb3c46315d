// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QTimer>

#include <functional>

/**
 * Encodes a note into the whole note file (IniWriter's form) on the thread it lives on, one
 * slice of the note at each turn of the event loop, reading the note where its owner keeps it.
 * The writer thread is handed the finished bytes only: a string it shared with the owner would
 * make the owner's next change copy the whole note first (about 20 ms at 10 MB), and a copy of
 * its own would hold the note in memory twice while it is written.
 *
 * When the note changes before it is encoded, the owner calls cancel() and saves again later;
 * a note that moved in memory or changed its length meanwhile starts the encoding over.
 */
class NoteEncoder : public QObject
{
    Q_OBJECT

public:
    /// The note as it is now: read again for each slice and never kept.
    using Source = std::function<QStringView()>;

    /// Characters encoded in one turn of the event loop: about a millisecond of work here, far
    /// below the 16 ms a keystroke may take.
    static constexpr qsizetype sliceSize = qsizetype(256) * 1024;

    explicit NoteEncoder(QObject *parent = nullptr);

    /// Starts encoding the note that \a source reads, under \a key; an encoding under way starts
    /// over. \a source must stay valid until finished() or cancel().
    void start(const QString &key, Source source);
    /// Drops the encoding under way: the note changed, and what is encoded so far is stale.
    void cancel();
    bool isRunning() const { return bool(m_source); }
    /// Encodes what is left at once; finished() is emitted before it returns. Nothing happens
    /// when no encoding runs.
    void finish();

Q_SIGNALS:
    /// The note file holding the note whole, as the source held it at the last slice.
    void finished(const QByteArray &file);

private:
    void begin(QStringView note);
    /// Encodes up to \a characters more; true when the whole note is encoded.
    bool encodeMore(qsizetype characters);
    void encodeSlice();
    void handOver();

    Source m_source;
    QByteArray m_prefix; // "[General]\n<key>="
    QByteArray m_file;
    qsizetype m_position = 0;
    bool m_afterHexEscape = false;
    // Where the note was and how long it was when its encoding began.
    const QChar *m_data = nullptr;
    qsizetype m_size = 0;
    QTimer m_slices;
};
