// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SettingsTable.h"
#include "TestAppState.h"
#include "TestFiles.h"

#include "app/AppState.h"
#include "geometry/DrawerGeometry.h"
#include "settings/SettingsWindow.h"
#include "storage/SettingsStore.h"

#include <QFile>
#include <QFileDevice>
#include <QSignalSpy>
#include <QTest>

namespace {

// Moves every setting the reset touches away from its initial value.
void changeEverything(AppState &state)
{
    state.setWindowWidth(900);
    state.setWindowHeight(700);
    state.updateWindowSizeRealTime();
    state.setWindowOpacity(0.5);
    state.setManualMargins(120);
    state.setUseManualMargins(true);
    state.updateMarginsRealTime();
    state.setBackgroundColor(QColor(10, 20, 30));
    state.setTextColor(QColor(200, 100, 50, 77));
    state.setUseCustomColors(true);
    state.setDrawerPosition(DrawerPosition::Left);
    state.setAutoFormatBullets(false);
    state.setAutoFormatNumbers(false);
    state.setAutoFormatDashes(false);
    state.setSmartLinkInsertion(false);
    state.setHideScrollIndicators(false);
    state.setReduceMotion(true);
    state.setHighContrastMode(true);
}

// The properties the reset assigns that hold their initial value (\a initial) or another.
QStringList resetPropertiesAt(const AppState &state, bool initial)
{
    QStringList names;
    Settings::forEach([&](const auto &row) {
        if (row.reset && (row.value(state) == row.initial) == initial)
            names << SettingsTable::propertyName(row);
    });
    return names;
}

void verifyDefaults(const AppState &state)
{
    QCOMPARE(resetPropertiesAt(state, true), SettingsTable::propertyNames(true));
    QCOMPARE(state.windowSize(), QSizeF(400, 600));
    QCOMPARE(state.currentMargins(), DrawerGeometry::automaticMargins(400));
}

} // namespace

class tst_DataCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resetRestoresEverySettingButTheNote();
    void resetAssignsInOrderThenUpdatesTheDrawer();
    void resetWritesThePositionAtOnce();
    void clearAllConfirmedRemovesKeysThenSaversRewriteThem();
    void clearAllCancelledChangesNothing();
    void dialogsBelongToTheSettingsWindow();
    void exportWritesTheNoteAsIs_data();
    void exportWritesTheNoteAsIs();
    void exportReplacesALongerFile();
    void exportCancelledWritesNothing();
    void exportFailureIsReported_data();
    void exportFailureIsReported();
};

void tst_DataCommands::resetRestoresEverySettingButTheNote()
{
    TestAppState t;
    AppState &state = t.start();
    state.setNoteContent(QStringLiteral("keep me"));
    changeEverything(state);
    QCOMPARE(resetPropertiesAt(state, false), SettingsTable::propertyNames(true));

    state.resetToDefaults();

    verifyDefaults(state);
    QCOMPARE(state.noteContent(), QStringLiteral("keep me"));
    QCOMPARE(state.maxWindowWidth(), 1440.0);
    QCOMPARE(state.maxWindowHeight(), 800.0);
}

void tst_DataCommands::resetAssignsInOrderThenUpdatesTheDrawer()
{
    TestAppState t;
    AppState &state = t.start();
    changeEverything(state);

    QStringList order;
    Settings::forEach([&](const auto &row) {
        const QString name = SettingsTable::propertyName(row);
        connect(&state, row.changed, this, [&order, name] { order.append(name); });
    });
    QSignalSpy notes(&state, &AppState::noteContentChanged);

    state.resetToDefaults();

    const QStringList assignments = SettingsTable::propertyNames(true);
    QCOMPARE(order.mid(0, assignments.size()), assignments);
    // Then the drawer follows: size first, then opacity, then the margins.
    const QStringList updates = order.mid(assignments.size());
    const qsizetype size = updates.indexOf(QStringLiteral("windowSize"));
    const qsizetype opacity = updates.indexOf(QStringLiteral("windowOpacity"));
    const qsizetype margins = updates.lastIndexOf(QStringLiteral("manualMargins"));
    QVERIFY(size >= 0);
    QVERIFY(opacity > size);
    QVERIFY(margins > opacity);
    QCOMPARE(updates.last(), QStringLiteral("currentMargins"));
    QCOMPARE(notes.count(), 0);
}

void tst_DataCommands::resetWritesThePositionAtOnce()
{
    TestAppState t;
    AppState &state = t.start();
    state.setDrawerPosition(DrawerPosition::Left);
    const QPointF leftOrigin = state.calculateDefaultPosition();
    QCOMPARE(t.stored(QStringLiteral("drawerPosition")).toString(), QStringLiteral("left"));

    state.resetToDefaults();

    QCOMPARE(t.stored(QStringLiteral("drawerPosition")).toString(), QStringLiteral("right"));
    QVERIFY(state.calculateDefaultPosition() != leftOrigin);
    QCOMPARE(state.calculateDefaultPosition().x() + state.windowSize().width(), 1440.0);
}

void tst_DataCommands::clearAllConfirmedRemovesKeysThenSaversRewriteThem()
{
    TestAppState t;
    AppState &state = t.start();
    state.setNoteContent(QStringLiteral("a note to lose"));
    changeEverything(state);
    state.flushPendingSaves();
    QVERIFY(state.noteStore().waitForWritten());
    QCOMPARE(t.stored(QStringLiteral("windowWidth")).toDouble(), 900.0);
    QCOMPARE(t.stored(QStringLiteral("noteContent")).toString(), QStringLiteral("a note to lose"));

    t.prompts->clearAllAnswer = true;
    state.clearAllData();

    QCOMPARE(t.prompts->clearAllAsked, 1);
    QCOMPARE(state.noteContent(), QString());
    verifyDefaults(state);
    // Removed, and not yet written back by their debounced savers...
    QVERIFY(state.noteStore().waitForWritten());
    QVERIFY(!t.storedContains(QStringLiteral("noteContent")));
    Settings::forEach([&t](const auto &row) {
        if (!row.removedByClearAll || row.saving != Settings::Saving::Debounced)
            return;
        for (const QString &key : SettingsTable::keysOf(row))
            QVERIFY2(!t.storedContains(key), qPrintable(key));
    });
    // ...while the position's saver wrote "right" within the reset.
    QCOMPARE(t.stored(QStringLiteral("drawerPosition")).toString(), QStringLiteral("right"));
    QCOMPARE(t.stored(QStringLiteral("autoFormatBullets")).toBool(), true);

    QTRY_VERIFY(t.storedContains(QStringLiteral("windowOpacity")));
    QTRY_VERIFY(t.storedContains(QStringLiteral("windowWidth")));
    QVERIFY(state.noteStore().waitForWritten());
    QTRY_VERIFY(t.storedContains(QStringLiteral("noteContent")));
    QCOMPARE(t.stored(QStringLiteral("noteContent")).toString(), QString());
    QCOMPARE(t.stored(QStringLiteral("windowWidth")).toDouble(), 400.0);
    QCOMPARE(t.stored(QStringLiteral("windowHeight")).toDouble(), 600.0);
    QCOMPARE(t.stored(QStringLiteral("windowOpacity")).toDouble(), 1.0);
    QCOMPARE(t.stored(QStringLiteral("manualMargins")).toDouble(), 20.0);
}

void tst_DataCommands::clearAllCancelledChangesNothing()
{
    TestAppState t;
    AppState &state = t.start();
    state.setNoteContent(QStringLiteral("stays"));
    changeEverything(state);
    state.flushPendingSaves();
    QVERIFY(state.noteStore().waitForWritten());
    const QByteArray settingsBefore = TestFiles::readAll(t.settingsPath());
    const QByteArray noteBefore = TestFiles::readAll(t.notePath());
    SettingsTable::Announcements changes(state);

    t.prompts->clearAllAnswer = false;
    state.clearAllData();

    QCOMPARE(t.prompts->clearAllAsked, 1);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(state.noteContent(), QStringLiteral("stays"));
    QCOMPARE(state.windowWidth(), 900.0);
    QCOMPARE(state.drawerPosition(), DrawerPosition::Left);
    QVERIFY(state.reduceMotion());
    QCOMPARE(TestFiles::readAll(t.settingsPath()), settingsBefore);
    QCOMPARE(TestFiles::readAll(t.notePath()), noteBefore);
}

void tst_DataCommands::dialogsBelongToTheSettingsWindow()
{
    TestAppState t;
    AppState &state = t.start();
    state.clearAllData();
    QCOMPARE(t.prompts->lastParent, nullptr);

    state.showSettingsWindow();
    QVERIFY(state.settingsWindow());
    t.prompts->lastParent = nullptr;
    state.clearAllData();
    QCOMPARE(t.prompts->lastParent, static_cast<QWidget *>(state.settingsWindow()));
    t.prompts->lastParent = nullptr;
    state.exportNotes();
    QCOMPARE(t.prompts->lastParent, static_cast<QWidget *>(state.settingsWindow()));
}

void tst_DataCommands::exportWritesTheNoteAsIs_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty note, empty file") << QString() << QByteArray();
    QTest::newRow("no line ending added") << QStringLiteral("one line") << QByteArray("one line");
    QTest::newRow("emoji as UTF-8, no byte-order mark")
        << QStringLiteral("Hi 👍🏽\né")
        << QByteArray("Hi \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD\n\xC3\xA9");
    QTest::newRow("line endings kept") << QStringLiteral("a\r\nb\n\n") << QByteArray("a\r\nb\n\n");
}

void tst_DataCommands::exportWritesTheNoteAsIs()
{
    QFETCH(QString, note);
    QFETCH(QByteArray, bytes);
    TestAppState t;
    AppState &state = t.start();
    state.setNoteContent(note);
    const QString path = t.dir.filePath(QStringLiteral("notes.txt"));
    t.prompts->exportFileAnswer = path;

    state.exportNotes();

    QCOMPARE(t.prompts->exportAsked, 1);
    QVERIFY(QFile::exists(path));
    QCOMPARE(TestFiles::readAll(path), bytes);
    QCOMPARE(t.prompts->errors, QStringList());
}

void tst_DataCommands::exportReplacesALongerFile()
{
    TestAppState t;
    AppState &state = t.start();
    const QString path = t.dir.filePath(QStringLiteral("notes.txt"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4096, 'x'));
    }
    state.setNoteContent(QStringLiteral("short"));
    t.prompts->exportFileAnswer = path;

    state.exportNotes();

    QCOMPARE(TestFiles::readAll(path), QByteArray("short"));
}

void tst_DataCommands::exportCancelledWritesNothing()
{
    TestAppState t;
    AppState &state = t.start();
    state.setNoteContent(QStringLiteral("text"));
    t.prompts->exportFileAnswer.clear();

    state.exportNotes();

    QCOMPARE(t.prompts->exportAsked, 1);
    QCOMPARE(t.prompts->errors, QStringList());
    QCOMPARE(QDir(t.dir.path()).entryList(QStringList {QStringLiteral("*.txt")}), QStringList());
}

void tst_DataCommands::exportFailureIsReported_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("missing folder") << QStringLiteral("missing") << false;
    QTest::newRow("read-only folder") << QStringLiteral("locked") << true;
}

void tst_DataCommands::exportFailureIsReported()
{
    QFETCH(QString, folder);
    QFETCH(bool, readOnly);
    TestAppState t;
    AppState &state = t.start();
    state.setNoteContent(QStringLiteral("precious"));
    const QString dir = t.dir.filePath(folder);
    if (readOnly) {
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QFile probe(dir + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(
                dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QSKIP("This user may write into read-only folders");
        }
    }
    const QString path = dir + QStringLiteral("/notes.txt");
    t.prompts->exportFileAnswer = path;
    SettingsTable::Announcements changes(state);

    state.exportNotes();

    if (readOnly)
        QFile::setPermissions(
            dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(t.prompts->errors.size(), 1);
    const QString message = t.prompts->errors.constFirst();
    QVERIFY2(message.contains(path), qPrintable(message));
    QVERIFY2(!message.endsWith(QStringLiteral(": ")), qPrintable(message));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(state.noteContent(), QStringLiteral("precious"));
}

QTEST_MAIN(tst_DataCommands)
#include "tst_DataCommands.moc"
