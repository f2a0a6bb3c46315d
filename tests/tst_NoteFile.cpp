// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileSizeLimit.h"

#include "storage/NoteFile.h"
#include "storage/PrivateFile.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString key = QStringLiteral("noteContent");
}

class tst_NoteFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The disk fills up in the middle of writing a large note: the file keeps the whole note
    // written before, the failure is reported, and once there is room again a retry writes the
    // newest note.
    void aWriteThatRunsOutOfSpaceKeepsThePreviousNote()
    {
        QTemporaryDir dir;
        NoteFile note(dir.filePath(QStringLiteral("note.conf")));
        QSignalSpy finished(&note, &NoteFile::writeFinished);
        const QString before = QStringLiteral("the note before 👍\n• milk\n");
        note.setText(key, before);
        QVERIFY(note.waitForWritten());

        const QString large = QString(3'000'000, QLatin1Char('x')) + QStringLiteral("end");
        {
            FileSizeLimit full(1'000'000);
            QVERIFY(full.isActive());
            note.setText(key, large);
            QVERIFY(!note.waitForWritten());
            QVERIFY(!note.isWritten());
        }
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(finished.last().at(0).toBool(), false);
        QVERIFY(!finished.last().at(1).toString().isEmpty());
        QVERIFY(PrivateFile::problemWith(note.filePath()).isEmpty());
        QCOMPARE(note.text(key), std::optional(before));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList {QStringLiteral("note.conf")});

        note.retry();
        QVERIFY(note.waitForWritten());
        QVERIFY(note.isWritten());
        QCOMPARE(note.text(key), std::optional(large));
    }

    // A retry while a newer note waits does not bring the older failed one back.
    void aRetryNeverWritesAnOlderNoteOverANewerOne()
    {
        QTemporaryDir dir;
        NoteFile note(dir.filePath(QStringLiteral("note.conf")));
        {
            FileSizeLimit full(1000);
            note.setText(key, QString(5000, QLatin1Char('o')));
            QVERIFY(!note.waitForWritten());
        }
        note.setText(key, QStringLiteral("newer"));
        note.retry();
        QVERIFY(note.waitForWritten());
        QCOMPARE(note.text(key), std::optional(QStringLiteral("newer")));
        note.retry();
        QVERIFY(note.waitForWritten());
        QCOMPARE(note.text(key), std::optional(QStringLiteral("newer")));
    }

    // The note handed to the writer and the note read back share their characters with nothing
    // the file keeps: otherwise the model copies a whole long note on its next keystroke, and
    // the note stays in memory twice.
    void neitherTheWriterNorTheReaderKeepsTheNote()
    {
        QTemporaryDir dir;
        NoteFile note(dir.filePath(QStringLiteral("note.conf")));
        QString written = QString(5000, QLatin1Char('o'));
        {
            // A failed write is kept to be retried.
            FileSizeLimit full(1000);
            note.setText(key, written);
            QVERIFY(!note.waitForWritten());
        }
        QVERIFY(written.isDetached());
        note.retry();
        QVERIFY(note.waitForWritten());

        std::optional<QString> read = note.text(key);
        QCOMPARE(read, std::optional(written));
        QVERIFY(read->isDetached());
    }
};

QTEST_GUILESS_MAIN(tst_NoteFile)
#include "tst_NoteFile.moc"
