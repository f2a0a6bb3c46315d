// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ClickCheckBox.h"
#include "SettingsTable.h"
#include "TestAppState.h"

#include "settings/BehaviorTab.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class tst_BehaviorTab : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelsAndDefaults();
    void eachBoxWritesOnlyItsSwitch_data();
    void eachBoxWritesOnlyItsSwitch();
    void followsTheModelFromElsewhere();
    void hotkeyIsShownAndCannotBeChanged();
};

void tst_BehaviorTab::labelsAndDefaults()
{
    TestAppState t;
    BehaviorTab tab(t.start());
    QCOMPARE(tab.bulletsBox()->text(),
             QStringLiteral("Auto-format bullets (\u2022 \u2192 \u2022 )"));
    QCOMPARE(tab.numbersBox()->text(), QStringLiteral("Auto-format numbers (1. \u2192 2. )"));
    QCOMPARE(tab.dashesBox()->text(), QStringLiteral("Auto-format dashes (- \u2192 - )"));
    QCOMPARE(tab.smartLinksBox()->text(), QStringLiteral("Smart link insertion (Ctrl+K)"));
    for (QCheckBox *box :
         {tab.bulletsBox(), tab.numbersBox(), tab.dashesBox(), tab.smartLinksBox()})
        QVERIFY2(box->isChecked(), qPrintable(box->text()));
}

void tst_BehaviorTab::eachBoxWritesOnlyItsSwitch_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("key");
    QTest::newRow("bullets") << 0 << QStringLiteral("autoFormatBullets");
    QTest::newRow("numbers") << 1 << QStringLiteral("autoFormatNumbers");
    QTest::newRow("dashes") << 2 << QStringLiteral("autoFormatDashes");
    QTest::newRow("smart links") << 3 << QString();
}

void tst_BehaviorTab::eachBoxWritesOnlyItsSwitch()
{
    QFETCH(int, which);
    QFETCH(QString, key);
    TestAppState t;
    AppState &state = t.start();
    BehaviorTab tab(state);
    tab.show();
    const QList<QCheckBox *> boxes {tab.bulletsBox(), tab.numbersBox(), tab.dashesBox(),
                                    tab.smartLinksBox()};
    const auto switches = [&state] {
        return QList<bool> {state.autoFormatBullets(), state.autoFormatNumbers(),
                            state.autoFormatDashes(), state.smartLinkInsertion()};
    };
    SettingsTable::Announcements changes(state);

    clickCheckBox(boxes[which]);

    QList<bool> expected {true, true, true, true};
    expected[which] = false;
    QCOMPARE(switches(), expected);
    QCOMPARE(changes.count(), 1);
    if (!key.isEmpty())
        QCOMPARE(t.stored(key).toBool(), false);

    clickCheckBox(boxes[which]);
    QCOMPARE(switches(), QList<bool>({true, true, true, true}));
}

void tst_BehaviorTab::followsTheModelFromElsewhere()
{
    TestAppState t;
    AppState &state = t.start();
    BehaviorTab tab(state);
    state.setAutoFormatNumbers(false);
    state.setSmartLinkInsertion(false);
    QVERIFY(tab.bulletsBox()->isChecked());
    QVERIFY(!tab.numbersBox()->isChecked());
    QVERIFY(!tab.smartLinksBox()->isChecked());
    // Showing the model's value does not write it back.
    QVERIFY(!state.autoFormatNumbers());

    state.resetToDefaults();
    QVERIFY(tab.numbersBox()->isChecked());
    QVERIFY(tab.smartLinksBox()->isChecked());
}

void tst_BehaviorTab::hotkeyIsShownAndCannotBeChanged()
{
    TestAppState t;
    BehaviorTab tab(t.start());
    tab.show();
    QCOMPARE(tab.hotkeyText(), QStringLiteral("Alt + `"));
    QPushButton *change = tab.changeButton();
    QCOMPARE(change->text(), QStringLiteral("Change"));
    QVERIFY(!change->isEnabled());
    QSignalSpy clicks(change, &QPushButton::clicked);
    QTest::mouseClick(change, Qt::LeftButton);
    change->setFocus();
    QTest::keyClick(change, Qt::Key_Space);
    QCOMPARE(clicks.count(), 0);
}

QTEST_MAIN(tst_BehaviorTab)
#include "tst_BehaviorTab.moc"
