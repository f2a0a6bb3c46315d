// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SettingsTable.h"
#include "TestAppState.h"

#include "app/Persistence.h"
#include "storage/NoteEncoder.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
const QStringList immediateKeys = SettingsTable::keys(Settings::Saving::AtOnce);
// The note's own saver waits the same pause.
const QStringList debouncedKeys = SettingsTable::keys(Settings::Saving::Debounced)
    << QStringLiteral("noteContent");

int writesOf(const QSignalSpy &spy, const QString &key)
{
    int count = 0;
    for (const auto &arguments : spy)
        count += arguments.at(0).toString() == key;
    return count;
}
} // namespace

class tst_Persistence : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The switches are written during start-up itself, the debounced keys half a second later.
    void firstStartWritesEveryKey()
    {
        TestAppState t;
        t.start();
        for (const QString &key : immediateKeys)
            QVERIFY2(t.storedContains(key), qPrintable(key));
        for (const QString &key : debouncedKeys)
            QVERIFY2(!t.storedContains(key), qPrintable(key));
        QCOMPARE(t.stored("drawerPosition").toString(), QStringLiteral("right"));
        QCOMPARE(t.stored("autoFormatBullets").toString(), QStringLiteral("true"));
        QCOMPARE(t.stored("useCustomColors").toString(), QStringLiteral("false"));

        QTRY_VERIFY(t.storedContains("manualMargins"));
        for (const QString &key : debouncedKeys)
            QTRY_VERIFY2(t.storedContains(key), qPrintable(key));
        QCOMPARE(t.stored("windowWidth").toDouble(), 400.0);
        QCOMPARE(t.stored("windowHeight").toDouble(), 600.0);
        QCOMPARE(t.stored("windowOpacity").toDouble(), 1.0);
        QCOMPARE(t.stored("manualMargins").toDouble(), 20.0);
        QCOMPARE(t.stored("noteContent").toString(), QString());
    }

    void loadingRules_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("expected");
        auto row = [](const char *name, const char *ini, const char *property, QVariant value) {
            QTest::newRow(name) << QByteArray("[General]\n") + ini << QString::fromLatin1(property)
                                << value;
        };
        row("width without height", "windowWidth=500\n", "windowSize", QSizeF(400, 600));
        row("width and height", "windowWidth=500\nwindowHeight=300\n", "windowSize",
            QSizeF(500, 300));
        row("width copied", "windowWidth=500\nwindowHeight=300\n", "windowWidth", 500.0);
        row("zero height", "windowWidth=500\nwindowHeight=0\n", "windowSize", QSizeF(400, 600));
        row("infinite width", "windowWidth=inf\nwindowHeight=300\n", "windowSize",
            QSizeF(400, 600));
        row("nan height", "windowWidth=500\nwindowHeight=nan\n", "windowSize", QSizeF(400, 600));
        row("huge size kept", "windowWidth=1e300\nwindowHeight=300\n", "windowWidth", 1e300);
        row("position left", "drawerPosition=left\n", "drawerPosition", int(DrawerPosition::Left));
        row("position capitalised", "drawerPosition=Right\n", "drawerPosition",
            int(DrawerPosition::Right));
        row("position unknown", "drawerPosition=LEFT\n", "drawerPosition",
            int(DrawerPosition::Right));
        row("opacity 0", "windowOpacity=0\n", "windowOpacity", 1.0);
        row("opacity 0.4", "windowOpacity=0.4\n", "windowOpacity", 0.4);
        row("opacity above 1 kept", "windowOpacity=1.4\n", "windowOpacity", 1.4);
        row("opacity negative", "windowOpacity=-0.5\n", "windowOpacity", 1.0);
        row("opacity inf", "windowOpacity=inf\n", "windowOpacity", 1.0);
        row("opacity nan", "windowOpacity=nan\n", "windowOpacity", 1.0);
        row("opacity text", "windowOpacity=abc\n", "windowOpacity", 1.0);
        row("margins 35", "manualMargins=35\n", "manualMargins", 35.0);
        row("margins nan", "manualMargins=nan\n", "manualMargins", 20.0);
        row("dashes false", "autoFormatDashes=false\n", "autoFormatDashes", false);
        row("dashes not a Boolean", "autoFormatDashes=yes\n", "autoFormatDashes", true);
        row("dashes 0 is not a Boolean", "autoFormatDashes=0\n", "autoFormatDashes", true);
        row("scroll false", "hideScrollIndicators=false\n", "hideScrollIndicators", false);
        row("manual margins on", "useManualMargins=true\n", "useManualMargins", true);
        row("manual margins not a Boolean", "useManualMargins=1\n", "useManualMargins", false);
        row("custom colours on", "useCustomColors=true\n", "useCustomColors", true);
        row("note", "noteContent=hello\n", "noteContent", QStringLiteral("hello"));
        row("note of digits is text", "noteContent=123\n", "noteContent", QStringLiteral("123"));
    }

    void loadingRules()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, property);
        QFETCH(QVariant, expected);
        TestAppState t;
        t.seedRaw(ini);
        const QVariant actual = SettingsTable::value(t.start(), property);
        QVERIFY(actual.isValid());
        QCOMPARE(actual, expected);
    }

    // Whatever the note holds comes back unchanged after a restart.
    void noteSurvivesARestart_data()
    {
        QTest::addColumn<QString>("note");
        QTest::newRow("lines") << QStringLiteral("• milk\n• eggs\n");
        QTest::newRow("commas and semicolons") << QStringLiteral("a, b; c");
        QTest::newRow("looks like a variant") << QStringLiteral("@Variant(\\0\\0)");
        QTest::newRow("looks like ini") << QStringLiteral("[General]\nnoteContent=evil\n#x");
        QTest::newRow("spaces at the ends") << QStringLiteral("  both  ");
        QTest::newRow("quotes and backslashes") << QStringLiteral("\"q\" \\n \\");
        QTest::newRow("control characters")
            << QStringLiteral("tab\there\r\nCR\rFF\fVT\v") + QChar(0) + QStringLiteral("nul");
        QTest::newRow("unicode") << QStringLiteral("é e\u0301 👍🏽 \u00a0\u2028\u2029 \u3000");
        QTest::newRow("unpaired surrogate") << QString(QChar(0xd800));
    }

    void noteSurvivesARestart()
    {
        QFETCH(QString, note);
        TestAppState t;
        t.start().setAutoFormatDashes(false);
        t.state->setAutoFormatBullets(false);
        t.state->setAutoFormatNumbers(false);
        t.state->setNoteContent(note);
        t.state->flushPendingSaves();
        t.state.reset();
        QCOMPARE(t.start().noteContent(), note);
    }

    void aBurstOfTypingIsWrittenOnceWithTheLastText()
    {
        TestAppState t;
        AppState &state = t.start();
        QTRY_VERIFY(t.storedContains("noteContent"));
        QSignalSpy written(&state.persistence(), &Persistence::keyWritten);
        for (const char *text : {"h", "he", "hel", "hell", "hello"})
            state.setNoteContent(QString::fromLatin1(text));
        QVERIFY(t.stored("noteContent").toString().isEmpty());
        QTRY_COMPARE(t.stored("noteContent").toString(), QStringLiteral("hello"));
        QCOMPARE(writesOf(written, "noteContent"), 1);
    }

    void sizeAndOpacityAreDebouncedToo()
    {
        TestAppState t;
        AppState &state = t.start();
        QTRY_VERIFY(t.storedContains("windowWidth"));
        state.setWindowSize(QSizeF(500, 300));
        state.setWindowSize(QSizeF(700, 350));
        state.setWindowOpacity(0.5);
        state.setManualMargins(44);
        QCOMPARE(t.stored("windowWidth").toDouble(), 400.0);
        QTRY_COMPARE(t.stored("windowWidth").toDouble(), 700.0);
        QCOMPARE(t.stored("windowHeight").toDouble(), 350.0);
        QTRY_COMPARE(t.stored("windowOpacity").toDouble(), 0.5);
        QTRY_COMPARE(t.stored("manualMargins").toDouble(), 44.0);
    }

    // Switches reach the file within the assignment, also when the value does not change.
    void switchesAreWrittenWithinTheAssignment()
    {
        TestAppState t;
        AppState &state = t.start();
        QSignalSpy written(&state.persistence(), &Persistence::keyWritten);
        state.setAutoFormatDashes(false);
        QCOMPARE(t.stored("autoFormatDashes").toString(), QStringLiteral("false"));
        state.setAutoFormatDashes(false);
        QCOMPARE(writesOf(written, "autoFormatDashes"), 2);
        state.setUseCustomColors(true);
        QCOMPARE(t.stored("useCustomColors").toString(), QStringLiteral("true"));
    }

    void choosingAnEdgeSavesItAndMovesTheRestingOrigin()
    {
        TestAppState t;
        AppState &state = t.start();
        state.setDrawerPosition(DrawerPosition::Left);
        QCOMPARE(t.stored("drawerPosition").toString(), QStringLiteral("left"));
        QCOMPARE(state.calculateDefaultPosition(), QPointF(0, 175));
        state.setDrawerPosition(DrawerPosition::Top);
        QCOMPARE(state.calculateDefaultPosition(), QPointF(520, 275));
    }

    void coloursAreNotSaved()
    {
        TestAppState t;
        t.start().setBackgroundColor(Qt::red);
        t.state->setTextColor(Qt::green);
        t.state->setUseCustomColors(true);
        t.state.reset();
        AppState &state = t.start();
        QVERIFY(state.useCustomColors());
        QCOMPARE(state.backgroundColor(), QColor::fromRgbF(0, 0, 0, 0.3f));
        QCOMPARE(state.textColor(), QColor(Qt::white));
    }

    // A long note is encoded between events before it is written. A change meanwhile drops that
    // encoding, whose first slices hold the note before the change: the file never holds a
    // note made of both, and the save after the next pause writes the note as it is then.
    void aChangeWhileTheNoteIsEncodedIsWrittenNext()
    {
        TestAppState t;
        AppState &state = t.start();
        const QString before = QString(3 * NoteEncoder::sliceSize, QLatin1Char('a'));
        state.setNoteContent(before);
        state.flushPendingSaves();
        QString after = before;
        after[0] = u'b';
        after[after.size() - 1] = u'b';

        // Runs once the first slice is encoded: a timer started after the encoder's.
        QTimer change;
        change.setSingleShot(true);
        change.setInterval(0);
        connect(&change, &QTimer::timeout, &state, [&] {
            state.replaceNoteRange(0, 1, u"b");
            state.replaceNoteRange(after.size() - 1, 1, u"b");
        });
        connect(&state.persistence(), &Persistence::keyWritten, &change, [&](const QString &key) {
            if (key == NoteStore::key && state.noteContent() == before)
                change.start();
        });
        state.replaceNoteRange(1, 1, u"a"); // the same note, saved again after the pause
        QTRY_COMPARE(state.noteContent(), after);
        QVERIFY(state.noteStore().waitForWritten());
        QCOMPARE(t.stored("noteContent").toString(), before);
        QTRY_COMPARE(t.stored("noteContent").toString(), after);
    }

    // A note typed a moment before the application ends is on disk afterwards.
    void waitingValuesAreWrittenWhenTheApplicationEnds()
    {
        TestAppState t;
        AppState &state = t.start();
        state.setNoteContent(QStringLiteral("just typed"));
        state.setWindowOpacity(0.6);
        state.flushPendingSaves();
        QCOMPARE(t.stored("noteContent").toString(), QStringLiteral("just typed"));
        QCOMPARE(t.stored("windowOpacity").toDouble(), 0.6);

        state.setNoteContent(QStringLiteral("typed as the model goes"));
        t.state.reset();
        QCOMPARE(t.stored("noteContent").toString(), QStringLiteral("typed as the model goes"));
    }

    void settingsFileIsTheOwnersAlone()
    {
        TestAppState t;
        t.start();
        const QFileInfo file(t.settingsPath());
        QVERIFY(file.exists());
        QCOMPARE(file.permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QFileInfo(file.absolutePath()).permissions() & 0x0777,
                 QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        t.state->setNoteContent(QStringLiteral("secret"));
        t.state->flushPendingSaves();
        QCOMPARE(QFileInfo(t.settingsPath()).permissions() & 0x0777,
                 QFile::ReadUser | QFile::WriteUser);
    }
};

QTEST_MAIN(tst_Persistence)
#include "tst_Persistence.moc"
