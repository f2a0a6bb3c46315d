// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ClickCheckBox.h"
#include "SettingsTable.h"
#include "TestAppState.h"

#include "settings/AdvancedTab.h"
#include "settings/DebugRow.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class tst_AdvancedTab : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readOutOfTheDefaults();
    void readOutFollowsTheModel();
    void windowSizeIsTruncated_data();
    void windowSizeIsTruncated();
    void textLengthCountsPerceivedCharacters_data();
    void textLengthCountsPerceivedCharacters();
    void typingUpdatesTheTextLength();
    void switchesWriteTheModel();
    void exportButtonExports();
    void clearAllCancelledChangesNothingShown();
    void clearAllConfirmedShowsTheDefaults();
};

void tst_AdvancedTab::readOutOfTheDefaults()
{
    TestAppState t;
    AdvancedTab tab(t.start());
    const QList<DebugRow *> rows {tab.windowSizeRow(), tab.opacityRow(), tab.marginsRow(),
                                  tab.positionRow(), tab.textLengthRow()};
    QStringList labels;
    QStringList values;
    for (DebugRow *row : rows) {
        labels.append(row->label());
        values.append(row->value());
    }
    QCOMPARE(labels, QStringList({"Window Size", "Opacity", "Margins", "Position", "Text Length"}));
    QCOMPARE(values, QStringList({"400 × 600", "100.0%", "22px", "Right", "0 chars"}));
    QCOMPARE(tab.hideScrollIndicatorsBox()->text(), QStringLiteral("Hide scroll indicators"));
    QCOMPARE(tab.reduceMotionBox()->text(), QStringLiteral("Reduce motion effects"));
    QCOMPARE(tab.highContrastBox()->text(), QStringLiteral("High contrast mode"));
    QVERIFY(tab.hideScrollIndicatorsBox()->isChecked());
    QVERIFY(!tab.reduceMotionBox()->isChecked());
    QVERIFY(!tab.highContrastBox()->isChecked());
    QCOMPARE(tab.exportButton()->text(), QStringLiteral("Export Notes"));
    QCOMPARE(tab.clearButton()->text(), QStringLiteral("Clear All Data"));
}

void tst_AdvancedTab::readOutFollowsTheModel()
{
    TestAppState t;
    AppState &state = t.start();
    AdvancedTab tab(state);

    state.setWindowOpacity(0.35);
    state.setCurrentMargins(27.9);
    state.setWindowHeight(599.7);
    QCOMPARE(tab.opacityRow()->value(), QStringLiteral("35.0%"));
    QCOMPARE(tab.marginsRow()->value(), QStringLiteral("27px"));
    QCOMPARE(tab.windowSizeRow()->value(), QStringLiteral("400 × 599"));

    const QStringList positions {"Top", "Right", "Bottom", "Left"};
    for (DrawerPosition position : DrawerPositions::all) {
        state.setDrawerPosition(position);
        QCOMPARE(tab.positionRow()->value(), positions.at(int(position)));
    }
}

void tst_AdvancedTab::windowSizeIsTruncated_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<QString>("text");
    QTest::newRow("812.9") << 812.9 << QStringLiteral("812 × 600");
    QTest::newRow("beyond a 64-bit integer")
        << 1e30 << QStringLiteral("1000000000000000019884624838656 × 600");
    QTest::newRow("negative fraction") << -0.5 << QStringLiteral("0 × 600");
}

void tst_AdvancedTab::windowSizeIsTruncated()
{
    QFETCH(double, width);
    QFETCH(QString, text);
    TestAppState t;
    AppState &state = t.start();
    AdvancedTab tab(state);
    state.setWindowWidth(width);
    QCOMPARE(tab.windowSizeRow()->value(), text);
}

void tst_AdvancedTab::textLengthCountsPerceivedCharacters_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString() << QStringLiteral("0 chars");
    QTest::newRow("e with a combining acute") << QStringLiteral("e\u0301") << "1 chars";
    QTest::newRow("thumbs up with skin tone") << QStringLiteral("👍🏽") << "1 chars";
    QTest::newRow("CR LF is one") << QStringLiteral("a\r\nb") << "3 chars";
    QTest::newRow("mixed") << QStringLiteral("• café\n👍🏽 ok") << "11 chars";
}

void tst_AdvancedTab::textLengthCountsPerceivedCharacters()
{
    QFETCH(QString, note);
    QFETCH(QString, text);
    TestAppState t;
    AppState &state = t.start();
    state.setNoteContent(note);
    AdvancedTab tab(state);
    QCOMPARE(tab.textLengthRow()->value(), text);

    // Replaced while the tab is open.
    state.setNoteContent(QStringLiteral("xyz"));
    state.setNoteContent(note);
    QCOMPARE(tab.textLengthRow()->value(), text);
}

void tst_AdvancedTab::typingUpdatesTheTextLength()
{
    TestAppState t;
    AppState &state = t.start();
    state.setNoteContent(QStringLiteral("first line\nsecond"));
    AdvancedTab tab(state);
    QCOMPARE(tab.textLengthRow()->value(), QStringLiteral("17 chars"));

    state.replaceNoteRange(state.noteContent().size(), 0, u"!");
    QCOMPARE(tab.textLengthRow()->value(), QStringLiteral("18 chars"));
    // A combining accent typed after a letter joins it: no new character.
    state.replaceNoteRange(5, 0, u"\u0301");
    QCOMPARE(tab.textLengthRow()->value(), QStringLiteral("18 chars"));
    state.replaceNoteRange(0, 0, u"👍");
    QCOMPARE(tab.textLengthRow()->value(), QStringLiteral("19 chars"));
    state.replaceNoteRange(2, 0, u"🏽");
    QCOMPARE(tab.textLengthRow()->value(), QStringLiteral("19 chars"));
    // Deleting the line break joins two lines.
    const qsizetype feed = state.noteContent().indexOf(u'\n');
    state.replaceNoteRange(feed, 1, u"");
    QCOMPARE(tab.textLengthRow()->value(), QStringLiteral("18 chars"));
    // An append through a whole assignment counts as typing at the end.
    state.setNoteContent(state.noteContent() + QStringLiteral("\n• "));
    QCOMPARE(tab.textLengthRow()->value(), QStringLiteral("21 chars"));
}

void tst_AdvancedTab::switchesWriteTheModel()
{
    TestAppState t;
    AppState &state = t.start();
    AdvancedTab tab(state);
    tab.show();

    clickCheckBox(tab.hideScrollIndicatorsBox());
    clickCheckBox(tab.reduceMotionBox());
    clickCheckBox(tab.highContrastBox());

    QVERIFY(!state.hideScrollIndicators());
    QVERIFY(state.reduceMotion());
    QVERIFY(state.highContrastMode());
    QCOMPARE(t.stored(QStringLiteral("hideScrollIndicators")).toBool(), false);

    state.setReduceMotion(false);
    QVERIFY(!tab.reduceMotionBox()->isChecked());
}

void tst_AdvancedTab::exportButtonExports()
{
    TestAppState t;
    AppState &state = t.start();
    state.setNoteContent(QStringLiteral("exported"));
    AdvancedTab tab(state);
    tab.show();
    const QString path = t.dir.filePath(QStringLiteral("out.txt"));
    t.prompts->exportFileAnswer = path;

    QTest::mouseClick(tab.exportButton(), Qt::LeftButton);

    QCOMPARE(t.prompts->exportAsked, 1);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("exported"));
}

void tst_AdvancedTab::clearAllCancelledChangesNothingShown()
{
    TestAppState t;
    AppState &state = t.start();
    state.setNoteContent(QStringLiteral("kept"));
    state.setReduceMotion(true);
    state.setWindowOpacity(0.5);
    AdvancedTab tab(state);
    tab.show();
    SettingsTable::Announcements changes(state);
    t.prompts->clearAllAnswer = false;

    QTest::mouseClick(tab.clearButton(), Qt::LeftButton);

    QCOMPARE(t.prompts->clearAllAsked, 1);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(tab.textLengthRow()->value(), QStringLiteral("4 chars"));
    QCOMPARE(tab.opacityRow()->value(), QStringLiteral("50.0%"));
    QVERIFY(tab.reduceMotionBox()->isChecked());
}

void tst_AdvancedTab::clearAllConfirmedShowsTheDefaults()
{
    TestAppState t;
    AppState &state = t.start();
    state.setNoteContent(QStringLiteral("gone soon"));
    state.setReduceMotion(true);
    state.setHideScrollIndicators(false);
    state.setWindowOpacity(0.5);
    state.setDrawerPosition(DrawerPosition::Bottom);
    AdvancedTab tab(state);
    tab.show();
    t.prompts->clearAllAnswer = true;

    QTest::mouseClick(tab.clearButton(), Qt::LeftButton);

    QCOMPARE(tab.textLengthRow()->value(), QStringLiteral("0 chars"));
    QCOMPARE(tab.opacityRow()->value(), QStringLiteral("100.0%"));
    QCOMPARE(tab.positionRow()->value(), QStringLiteral("Right"));
    QVERIFY(!tab.reduceMotionBox()->isChecked());
    QVERIFY(tab.hideScrollIndicatorsBox()->isChecked());
}

QTEST_MAIN(tst_AdvancedTab)
#include "tst_AdvancedTab.moc"
