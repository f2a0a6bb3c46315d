// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AutoFormatter.h"

#include "TestAppState.h"

#include "drawer/BorderlessWindow.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// A model with a formatter of the test's own on the change hook, as the editor wires it. The
// drawer's own editor is cut off the model so that only this formatter writes.
struct HookedFormatter
{
    HookedFormatter()
        : state(t.start())
        , formatter(state)
    {
        if (QWidget *window = state.drawerWindow()) {
            QObject::disconnect(&state, nullptr, window, nullptr);
            for (QObject *child : window->findChildren<QObject *>())
                QObject::disconnect(&state, nullptr, child, nullptr);
        }
        QObject::connect(&state, &AppState::noteContentChanged, &hook,
                         [this](const QString &value) {
                             if (formatter.isEnabled())
                                 formatter.handleAutoFormatting(value);
                         });
    }

    void setSwitches(bool bullets, bool numbers, bool dashes)
    {
        state.setAutoFormatBullets(bullets);
        state.setAutoFormatNumbers(numbers);
        state.setAutoFormatDashes(dashes);
    }

    // One keystroke at the end of the note, written the way the editor writes it.
    void type(const QString &keys)
    {
        for (const QChar key : keys)
            state.replaceNoteRange(state.noteContent().size(), 0, QStringView(&key, 1));
    }

    void backspace() { state.replaceNoteRange(state.noteContent().size() - 1, 1, {}); }

    TestAppState t;
    AppState &state;
    AutoFormatter formatter;
    QObject hook;
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
        HookedFormatter f;
        f.type(keys);
        QCOMPARE(f.state.noteContent(), note);
        QVERIFY(!f.formatter.isProcessingFormatting());
    }

    // The marker is written once, announced as an append, and the announcement of that write
    // comes back while the formatter still holds its guard.
    void writesTheMarkerOnceAsAnAppend()
    {
        HookedFormatter f;
        QList<bool> guardSeen;
        QObject::connect(&f.state, &AppState::noteContentChanged, &f.hook, [&](const QString &) {
            guardSeen << f.formatter.isProcessingFormatting();
        });
        QSignalSpy changes(&f.state, &AppState::noteContentChanged);
        QSignalSpy edits(&f.state, &AppState::noteContentEdited);

        f.state.setNoteContent(QStringLiteral("• milk\n"));

        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk\n• "));
        QCOMPARE(changes.count(), 2);
        QCOMPARE(edits.count(), 2);
        QCOMPARE(edits.at(1), QVariantList({qsizetype(7), qsizetype(0), qsizetype(2)}));
        QCOMPARE(guardSeen, QList<bool>({true, false}));
        QVERIFY(!f.formatter.isProcessingFormatting());
    }

    void ignoresCallsDuringItsOwnWrite()
    {
        HookedFormatter f;
        int ignoredCalls = 0;
        QObject::connect(&f.state, &AppState::noteContentChanged, &f.hook, [&](const QString &) {
            if (f.formatter.isProcessingFormatting()) {
                ++ignoredCalls;
                f.formatter.handleAutoFormatting(QStringLiteral("- other\n"));
            }
        });
        QSignalSpy changes(&f.state, &AppState::noteContentChanged);

        f.state.setNoteContent(QStringLiteral("1. milk\n"));

        QCOMPARE(ignoredCalls, 1);
        QCOMPARE(f.state.noteContent(), QStringLiteral("1. milk\n2. "));
        QCOMPARE(changes.count(), 2);
    }

    void deletingTheMarkerBringsItBack()
    {
        HookedFormatter f;
        f.type(QStringLiteral("• milk\n"));
        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk\n• "));

        f.backspace();
        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk\n•"));
        f.backspace();
        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk\n• "));
    }

    void lineBreakInTheMiddleAddsNothing()
    {
        HookedFormatter f;
        f.state.setNoteContent(QStringLiteral("• milk and eggs"));
        QSignalSpy changes(&f.state, &AppState::noteContentChanged);

        f.state.replaceNoteRange(6, 0, u"\n");

        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk\n and eggs"));
        QCOMPARE(changes.count(), 1);
    }

    // A note stored while the switches were off may already end with a line break after an
    // item: the next change anywhere continues it.
    void changeAnywhereContinuesAStoredItem()
    {
        HookedFormatter f;
        f.setSwitches(false, false, false);
        f.state.setNoteContent(QStringLiteral("• milk\n"));
        f.setSwitches(true, false, false);
        QCOMPARE(f.state.noteContent(), QStringLiteral("• milk\n"));

        f.state.replaceNoteRange(0, 0, u"Shopping\n");

        QCOMPARE(f.state.noteContent(), QStringLiteral("Shopping\n• milk\n• "));
    }

    void pastedTextIsContinued()
    {
        HookedFormatter f;
        f.state.replaceNoteRange(0, 0, u"1. milk\n2. eggs\n3. bread\n");
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
        HookedFormatter f;
        f.setSwitches(bullets, numbers, dashes);
        QSignalSpy changes(&f.state, &AppState::noteContentChanged);

        f.state.setNoteContent(item + QLatin1Char('\n'));

        QCOMPARE(f.state.noteContent(), item + QLatin1Char('\n') + marker);
        QCOMPARE(changes.count(), marker.isEmpty() ? 1 : 2);
    }

    // Called directly (without the hook), a text that calls for no marker leaves the note alone.
    void noMarkerWritesNothing()
    {
        HookedFormatter f;
        f.state.setNoteContent(QStringLiteral("kept"));
        QSignalSpy changes(&f.state, &AppState::noteContentChanged);

        f.formatter.handleAutoFormatting(QStringLiteral("• milk\r\n"));
        f.formatter.handleAutoFormatting(QStringLiteral("• milk"));
        f.formatter.handleAutoFormatting(QString());

        QCOMPARE(changes.count(), 0);
        QCOMPARE(f.state.noteContent(), QStringLiteral("kept"));
    }
};

QTEST_MAIN(tst_AutoFormatter)
#include "tst_AutoFormatter.moc"
