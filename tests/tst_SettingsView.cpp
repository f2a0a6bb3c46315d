// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestAppState.h"

#include "settings/AdvancedTab.h"
#include "settings/AppearanceTab.h"
#include "settings/BehaviorTab.h"
#include "settings/CloseButton.h"
#include "settings/DebugRow.h"
#include "settings/SettingsView.h"
#include "settings/SliderRow.h"
#include "settings/TabButton.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

class tst_SettingsView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensOnAppearance();
    void tabButtonsSelectTheirTab_data();
    void tabButtonsSelectTheirTab();
    void unknownTabShowsAppearance();
    void eachTabIsBuiltAnewWhenShown();
    void resetShowsDefaultsAtOnceAndKeepsTheTab_data();
    void resetShowsDefaultsAtOnceAndKeepsTheTab();
};

void tst_SettingsView::opensOnAppearance()
{
    TestAppState t;
    SettingsView view(t.start());
    QCOMPARE(view.selectedTab(), 0);
    QVERIFY(qobject_cast<AppearanceTab *>(view.currentTab()));
    QStringList titles;
    for (int index = 0; index < 3; ++index) {
        titles.append(view.tabButton(index)->text());
        QCOMPARE(view.tabButton(index)->isCurrent(), index == 0);
    }
    QCOMPARE(titles, QStringList({"Appearance", "Behavior", "Advanced"}));
    QCOMPARE(view.resetButton()->text(), QStringLiteral("Reset to Defaults"));
    QCOMPARE(view.doneButton()->text(), QStringLiteral("Done"));
    QVERIFY(view.doneButton()->isDefault());
    // "Done" is filled with the accent (darkened as far as its label needs), lettered in the
    // highlighted-text colour.
    const QPalette &done = view.doneButton()->palette();
    QVERIFY(qAbs(done.color(QPalette::Button).hsvHue()
                 - view.palette().color(QPalette::Highlight).hsvHue())
            <= 3);
    QCOMPARE(done.color(QPalette::ButtonText), view.palette().color(QPalette::HighlightedText));
    QCOMPARE(view.closeButton()->size(), QSize(CloseButton::extent, CloseButton::extent));
}

void tst_SettingsView::tabButtonsSelectTheirTab_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("tabClass");
    QTest::newRow("Appearance") << 0 << QByteArray("AppearanceTab");
    QTest::newRow("Behavior") << 1 << QByteArray("BehaviorTab");
    QTest::newRow("Advanced") << 2 << QByteArray("AdvancedTab");
}

void tst_SettingsView::tabButtonsSelectTheirTab()
{
    QFETCH(int, index);
    QFETCH(QByteArray, tabClass);
    TestAppState t;
    SettingsView view(t.start());
    view.show();
    QTest::mouseClick(view.tabButton(2 - index), Qt::LeftButton);

    QTest::mouseClick(view.tabButton(index), Qt::LeftButton);

    QCOMPARE(view.selectedTab(), index);
    QCOMPARE(QByteArray(view.currentTab()->metaObject()->className()), tabClass);
    QVERIFY(view.currentTab()->isVisible());
    for (int other = 0; other < 3; ++other)
        QCOMPARE(view.tabButton(other)->isCurrent(), other == index);
}

void tst_SettingsView::unknownTabShowsAppearance()
{
    TestAppState t;
    SettingsView view(t.start());
    view.setSelectedTab(2);
    view.setSelectedTab(7);
    QCOMPARE(view.selectedTab(), 7);
    QVERIFY(qobject_cast<AppearanceTab *>(view.currentTab()));
    view.setSelectedTab(-1);
    QVERIFY(qobject_cast<AppearanceTab *>(view.currentTab()));
}

void tst_SettingsView::eachTabIsBuiltAnewWhenShown()
{
    TestAppState t;
    SettingsView view(t.start());
    QPointer<QWidget> first = view.currentTab();
    view.setSelectedTab(1);
    QVERIFY(first->parent() == nullptr);
    QTRY_VERIFY(first.isNull());
    view.setSelectedTab(0);
    QVERIFY(qobject_cast<AppearanceTab *>(view.currentTab()));
    QCOMPARE(view.findChildren<SettingsTabPage *>().size(), 1);
}

void tst_SettingsView::resetShowsDefaultsAtOnceAndKeepsTheTab_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("Appearance") << 0;
    QTest::newRow("Behavior") << 1;
    QTest::newRow("Advanced") << 2;
}

void tst_SettingsView::resetShowsDefaultsAtOnceAndKeepsTheTab()
{
    QFETCH(int, index);
    TestAppState t;
    AppState &state = t.start();
    SettingsView view(state);
    view.show();
    view.setSelectedTab(index);
    QWidget *tab = view.currentTab();
    state.setWindowWidth(900);
    state.setWindowHeight(300);
    state.setWindowOpacity(0.5);
    state.setUseManualMargins(true);
    state.setUseCustomColors(true);
    state.setDrawerPosition(DrawerPosition::Top);
    state.setAutoFormatBullets(false);
    state.setAutoFormatNumbers(false);
    state.setAutoFormatDashes(false);
    state.setSmartLinkInsertion(false);
    state.setHideScrollIndicators(false);
    state.setReduceMotion(true);
    state.setHighContrastMode(true);

    QTest::mouseClick(view.resetButton(), Qt::LeftButton);

    QCOMPARE(view.selectedTab(), index);
    QCOMPARE(view.currentTab(), tab);
    if (auto *appearance = qobject_cast<AppearanceTab *>(tab)) {
        QCOMPARE(appearance->widthRow()->valueText(), QStringLiteral("400 px"));
        QCOMPARE(appearance->heightRow()->valueText(), QStringLiteral("600 px"));
        QCOMPARE(appearance->opacityRow()->valueText(), QStringLiteral("100%"));
        QVERIFY(!appearance->manualMarginsBox()->isChecked());
        QVERIFY(appearance->automaticMarginsPanel()->isVisible());
        QVERIFY(!appearance->marginsRow()->isVisible());
        QCOMPARE(appearance->currentMarginsText(), QStringLiteral("22px"));
        QVERIFY(!appearance->customColorsBox()->isChecked());
        QVERIFY(!appearance->colorRows()->isVisible());
    } else if (auto *behavior = qobject_cast<BehaviorTab *>(tab)) {
        for (QCheckBox *box : {behavior->bulletsBox(), behavior->numbersBox(),
                               behavior->dashesBox(), behavior->smartLinksBox()})
            QVERIFY2(box->isChecked(), qPrintable(box->text()));
    } else {
        auto *advanced = qobject_cast<AdvancedTab *>(tab);
        QVERIFY(advanced);
        QVERIFY(advanced->hideScrollIndicatorsBox()->isChecked());
        QVERIFY(!advanced->reduceMotionBox()->isChecked());
        QVERIFY(!advanced->highContrastBox()->isChecked());
        QCOMPARE(advanced->windowSizeRow()->value(), QStringLiteral("400 × 600"));
        QCOMPARE(advanced->opacityRow()->value(), QStringLiteral("100.0%"));
        QCOMPARE(advanced->marginsRow()->value(), QStringLiteral("22px"));
        QCOMPARE(advanced->positionRow()->value(), QStringLiteral("Right"));
    }
}

QTEST_MAIN(tst_SettingsView)
#include "tst_SettingsView.moc"
