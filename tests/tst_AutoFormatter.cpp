// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AutoFormatter.h"

#include "TestAppState.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A model, and each edit made the way the editor and the append from outside make it: the
// edit and the marker it calls for as one change.
struct Editing
{
    Editing()
        : state(t.start())
        , formatter(state)
    { }

    void setSwitches(bool bullets, bool numbers, bool dashes)
    {
        state.setAutoFormatBullets(bullets);
        state.setAutoFormatNumbers(numbers);
        state.setAutoFormatDashes(dashes);
    }

    void edit(qsizetype position, qsizetype removed, const QString &text)
    {
        const NoteEdit change = formatter.continued({position, removed, text});
        state.replaceNoteRange(change.position, change.removed, change.inserted);
    }

    // One keystroke at the end of the note.
    void type(const QString &keys)
    {
        for (const QChar key : keys)
            edit(state.noteContent().size(), 0, key);
    }

    void backspace() { edit(state.noteContent().size() - 1, 1, {}); }

    TestAppState t;
    AppState &state;
    AutoFormatter formatter;
};

} // namespace

class tst_AutoFormatter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typing_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("note");

        QTest::newRow("bullet item") << QStringLiteral("• milk\n") << QStringLiteral("• milk\n• ");
        QTest::newRow("list goes on")
            << QStringLiteral("• milk\neggs\n") << QStringLiteral("• milk\n• eggs\n• ");
        QTest::newRow("numbers count up")
            << QStringLiteral("9. milk\neggs\n") << QStringLiteral("9. milk\n10. eggs\n11. ");
        QTest::newRow("empty item ends the list")
            << QStringLiteral("- milk\n\n") << QStringLiteral("- milk\n- \n");
        QTest::newRow("indentation is not carried")
            << QStringLiteral("    - milk\n") << QStringLiteral("    - milk\n- ");
        QTest::newRow("plain line") << QStringLiteral("milk\n") << QStringLiteral("milk\n");
        // A typed carriage return already ends the line; the line feed after it then follows
        // the marker's empty item.
        QTest::newRow("CR then LF typed")
            << QStringLiteral("* milk\r\n") << QStringLiteral("* milk\r* \n");
    }

    void typing()
    {
        QFETCH(QString, keys);
        QFETCH(QString, note);
        Editing f;
        f.type(keys);
        QCOMPARE(f.state.noteContent(), note);
    }

    // The marker comes with the edit that called for it: one change, announced as one range.
    void theMarkerIsPartOfTheEdit()
    {
        Editing f;
        QSignalSpy changes(&f.state, &AppState::noteContentChanged);
        QSignalSpy edits(&f.state, &AppState::noteContentEdited);

        f.edit(0, 0, QStringLiteral("1. milk\n"));

        QCOMPARE(f.state.noteContent(), QStringLiteral("1. milk\n2. "));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(edits.count(), 1);
        QCOMPARE(edits.at(0), QVariantList({qsizetype(0), qsizetype(0), qsizetype(11)}));
    }

    // Text appended from outside continues the list as typed text does, in the same change.
    void appendContinuesTheList()
    {
        Editing f;
        f.state.setNoteContent(QStringLiteral("call Ann"));
        QSignalSpy changes(&f.state, &AppState::noteContentChanged);

        QVERIFY(f.state.appendToNote(QStringLiteral("- milk\n")));

        QCOMPARE(f.state.noteContent(), QStringLiteral("call Ann\n- milk\n- "));
        QCOMPARE(changes.count(), 1);
    }

    void deletingTheMarkerBringsItBack()
    {
        Editing f;
        f.type(QStringLiteral("• milk\n"));
        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk\n• "));

        f.backspace();
        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk\n•"));
        f.backspace();
        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk\n• "));
    }

    void lineBreakInTheMiddleAddsNothing()
    {
        Editing f;
        f.state.setNoteContent(QStringLiteral("• milk and eggs"));
        QSignalSpy changes(&f.state, &AppState::noteContentChanged);

        f.edit(6, 0, QStringLiteral("\n"));

        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk\n and eggs"));
        QCOMPARE(changes.count(), 1);
    }

    // A note stored while the switches were off may already end with a line break after an
    // item: the next change anywhere continues it, in one change up to the note's end.
    void changeAnywhereContinuesAStoredItem()
    {
        Editing f;
        f.setSwitches(false, false, false);
        f.edit(0, 0, QStringLiteral("• milk\n"));
        f.setSwitches(true, false, false);
        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk\n"));
        QSignalSpy edits(&f.state, &AppState::noteContentEdited);

        f.edit(0, 0, QStringLiteral("Shopping\n"));

        QCOMPARE(f.state.noteContent(), QStringLiteral("Shopping\n• milk\n• "));
        QCOMPARE(edits.count(), 1);
        QCOMPARE(edits.at(0), QVariantList({qsizetype(0), qsizetype(7), qsizetype(18)}));
    }

    void pastedTextIsContinued()
    {
        Editing f;
        f.edit(0, 0, QStringLiteral("1. milk\n2. eggs\n3. bread\n"));
        QCOMPARE(f.state.noteContent(), QStringLiteral("1. milk\n2. eggs\n3. bread\n4. "));
    }

    // The three switches act together: any one of them continues every kind of item.
    void switchesActAsOne_data()
    {
        QTest::addColumn<bool>("bullets");
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<bool>("dashes");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("marker");

        const QList<std::pair<QString, QString>> items = {
            {QStringLiteral("• milk"), QStringLiteral("• ")},
            {QStringLiteral("- milk"), QStringLiteral("- ")},
            {QStringLiteral("* milk"), QStringLiteral("* ")},
            {QStringLiteral("9. milk"), QStringLiteral("10. ")},
        };
        const struct
        {
            const char *name;
            bool bullets, numbers, dashes;
        } switches[] = {
            {"only dashes", false, false, true},  {"only bullets", true, false, false},
            {"only numbers", false, true, false}, {"all on", true, true, true},
            {"all off", false, false, false},
        };
        for (const auto &s : switches) {
            const bool on = s.bullets || s.numbers || s.dashes;
            for (const auto &[item, marker] : items)
                QTest::addRow("%s, %s", s.name, qPrintable(item))
                    << s.bullets << s.numbers << s.dashes << item << (on ? marker : QString());
        }
    }

    void switchesActAsOne()
    {
        QFETCH(bool, bullets);
        QFETCH(bool, numbers);
        QFETCH(bool, dashes);
        QFETCH(QString, item);
        QFETCH(QString, marker);
        Editing f;
        f.setSwitches(bullets, numbers, dashes);
        QSignalSpy changes(&f.state, &AppState::noteContentChanged);

        f.edit(0, 0, item + QLatin1Char('\n'));

        QCOMPARE(f.state.noteContent(), item + QLatin1Char('\n') + marker);
        QCOMPARE(changes.count(), 1);
    }

    // The formatter writes nothing itself, and an edit that calls for no marker comes back as
    // it was.
    void writesNothingItself()
    {
        Editing f;
        f.state.setNoteContent(QStringLiteral("• milk"));
        QSignalSpy changes(&f.state, &AppState::noteContentChanged);

        QCOMPARE(f.formatter.markerAfter({6, 0, QStringLiteral("\n")}).value_or(QString()),
                 QStringLiteral("• "));
        for (const QString &text : {QStringLiteral("\r\n"), QStringLiteral("!"), QString()}) {
            const NoteEdit edit = f.formatter.continued({6, 0, text});
            QCOMPARE(edit.position, qsizetype(6));
            QCOMPARE(edit.removed, qsizetype(0));
            QCOMPARE(edit.inserted, text);
        }

        QCOMPARE(changes.count(), 0);
        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk"));
    }
};

QTEST_MAIN(tst_AutoFormatter)
#include "tst_AutoFormatter.moc"
