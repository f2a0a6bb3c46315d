// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/NoteAppend.h"

#include <QTest>

// The whole note after the edit, the list rule not yet applied (the editor view applies it to
// the result, as to any change).
class tst_NoteAppend : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void appending_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("empty note") << ""
                                    << "call Ann"
                                    << "call Ann";
        QTest::newRow("after a line break") << "milk\n"
                                            << "call Ann"
                                            << "milk\ncall Ann";
        QTest::newRow("a line break first") << "milk"
                                            << "call Ann\n"
                                            << "milk\ncall Ann\n";
        QTest::newRow("after a paragraph separator") << "milk\u2029"
                                                     << "x"
                                                     << "milk\u2029x";
        QTest::newRow("nothing to append") << "milk"
                                           << ""
                                           << "milk";
        // The empty item the list continuation left takes the text...
        QTest::newRow("into the empty item") << "- eggs\n- "
                                             << "call Ann"
                                             << "- eggs\n- call Ann";
        QTest::newRow("into the empty number") << "1. eggs\n2. "
                                               << "milk\n"
                                               << "1. eggs\n2. milk\n";
        // ...or gives way to an item the text brings.
        QTest::newRow("an item for the empty item") << "- eggs\n- "
                                                    << "- milk\n"
                                                    << "- eggs\n- milk\n";
        QTest::newRow("another kind of item") << "- eggs\n- "
                                              << "* milk"
                                              << "- eggs\n* milk";
        // A marker that is not the continuation of the line above is text of the user's.
        QTest::newRow("a marker of its own") << "eggs\n- "
                                             << "milk"
                                             << "eggs\n- \nmilk";
        QTest::newRow("a marker alone") << "- "
                                        << "milk"
                                        << "- \nmilk";
        QTest::newRow("after an item") << "- eggs"
                                       << "- milk\n"
                                       << "- eggs\n- milk\n";
    }

    void appending()
    {
        QFETCH(QString, note);
        QFETCH(QString, text);
        QFETCH(QString, result);
        const NoteAppend::Edit edit = NoteAppend::appending(note, text);
        QVERIFY(edit.position >= 0 && edit.position + edit.removed <= note.size());
        // Only the end of the note ever changes.
        QCOMPARE(edit.position + edit.removed, note.size());
        QCOMPARE(note.replace(edit.position, edit.removed, edit.inserted), result);
    }
};

QTEST_GUILESS_MAIN(tst_NoteAppend)
#include "tst_NoteAppend.moc"
