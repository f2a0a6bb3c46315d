// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "OpenDrawer.h"

#include "editor/LinkDialogView.h"
#include "settings/AppearanceTab.h"
#include "settings/BehaviorTab.h"
#include "settings/CloseButton.h"
#include "settings/ColorWell.h"
#include "settings/SettingsView.h"
#include "settings/SettingsWindow.h"
#include "settings/SliderRow.h"
#include "settings/TabButton.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QString accessibleText(QObject *object, QAccessible::Text what)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(what) : QString();
}

// Presses Tab from the close control until the focus comes back to it; the widgets it passed,
// in order.
QList<QWidget *> tabCycle(SettingsWindow *window)
{
    QList<QWidget *> visited;
    window->view()->closeButton()->setFocus(Qt::TabFocusReason);
    for (int guard = 0; guard < 60; ++guard) {
        QWidget *focus = QApplication::focusWidget();
        if (!focus || (!visited.isEmpty() && focus == visited.constFirst()))
            break;
        visited.append(focus);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return visited;
}

} // namespace

/// What assistive technology reads and where the keyboard goes: every control of the settings
/// window, the drawer's editor and the link dialog carry a name and a description; the values
/// read are those the user sees; Tab walks the settings window in reading order.
class tst_Accessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settingsControlsNamedAndInReadingOrder_data();
    void settingsControlsNamedAndInReadingOrder();
    void valuesReadAsShown();
    void drawerAndLinkDialogNamed();
};

void tst_Accessibility::settingsControlsNamedAndInReadingOrder_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("controlsInTab");
    // Appearance with manual margins and custom colours: three sliders, margins switch and
    // slider, colours switch and two wells.
    QTest::newRow("Appearance") << 0 << 8;
    // Four switches; "Change" is disabled and skipped.
    QTest::newRow("Behavior") << 1 << 4;
    // Three switches, two buttons.
    QTest::newRow("Advanced") << 2 << 5;
}

void tst_Accessibility::settingsControlsNamedAndInReadingOrder()
{
    QFETCH(int, tab);
    QFETCH(int, controlsInTab);
    TestAppState t;
    t.seed(QStringLiteral("useManualMargins"), true);
    t.seed(QStringLiteral("useCustomColors"), true);
    AppState &state = t.start();
    state.showSettingsWindow();
    SettingsWindow *window = state.settingsWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    SettingsView *view = window->view();
    view->setSelectedTab(tab);

    const QList<QWidget *> cycle = tabCycle(window);
    // The close control, three tab buttons, the tab's controls, "Reset to Defaults", "Done".
    QCOMPARE(cycle.size(), 1 + 3 + controlsInTab + 2);
    QCOMPARE(cycle.at(0), view->closeButton());
    for (int index = 0; index < 3; ++index)
        QCOMPARE(cycle.at(1 + index), view->tabButton(index));
    QCOMPARE(cycle.at(cycle.size() - 2), view->resetButton());
    QCOMPARE(cycle.constLast(), view->doneButton());
    // Inside the tab, top to bottom.
    int lastTop = -1;
    for (int index = 4; index < cycle.size() - 2; ++index) {
        const int top = cycle.at(index)->mapTo(view->currentTab(), QPoint()).y();
        QVERIFY2(top >= lastTop, qPrintable(accessibleText(cycle.at(index), QAccessible::Name)));
        lastTop = top;
    }
    for (QWidget *control : cycle) {
        const QString name = accessibleText(control, QAccessible::Name);
        QVERIFY2(!name.isEmpty(), control->metaObject()->className());
        QVERIFY2(!accessibleText(control, QAccessible::Description).isEmpty(), qPrintable(name));
    }
}

void tst_Accessibility::valuesReadAsShown()
{
    TestAppState t;
    t.seed(QStringLiteral("useCustomColors"), true);
    t.seed(QStringLiteral("windowOpacity"), 0.85);
    AppState &state = t.start();
    state.showSettingsWindow();
    SettingsView *view = state.settingsWindow()->view();

    const auto *appearance = qobject_cast<AppearanceTab *>(view->currentTab());
    QVERIFY(appearance);
    const QList<SliderRow *> rows = appearance->findChildren<SliderRow *>();
    QVERIFY(!rows.isEmpty());
    for (SliderRow *row : rows) {
        QAccessibleInterface *slider = QAccessible::queryAccessibleInterface(row->slider());
        QVERIFY(slider && slider->valueInterface());
        QCOMPARE(slider->text(QAccessible::Name), row->title());
        // Spoken with its unit: "400 pixels" for "400 px", "85 percent" for "85%".
        QCOMPARE(slider->text(QAccessible::Value),
                 QString(row->valueText())
                     .replace(QStringLiteral(" px"), QStringLiteral(" pixels"))
                     .replace(QStringLiteral("%"), QStringLiteral(" percent")));
        if (row->title() == QLatin1String("Opacity")) {
            QCOMPARE(row->valueText(), QStringLiteral("85%"));
            QCOMPARE(slider->valueInterface()->currentValue().toDouble(), 85.0);
            QCOMPARE(slider->valueInterface()->maximumValue().toDouble(), 100.0);
            // A value set by assistive technology moves the slider like the user.
            slider->valueInterface()->setCurrentValue(50.0);
            QVERIFY(qAbs(state.windowOpacity() - 0.5) < 0.001);
            QCOMPARE(slider->text(QAccessible::Value), QStringLiteral("50 percent"));
        }
    }

    const QList<ColorWell *> wells = appearance->findChildren<ColorWell *>();
    QCOMPARE(wells.size(), 2);
    QStringList names;
    for (ColorWell *well : wells)
        names << accessibleText(well, QAccessible::Name);
    names.sort();
    QCOMPARE(names,
             QStringList({QStringLiteral("Background: black (#000000), 30% opaque"),
                          QStringLiteral("Text Color: white (#ffffff)")}));
    state.setTextColor(QColor(230, 40, 30));
    QVERIFY(accessibleText(wells.at(0), QAccessible::Name).contains(QLatin1String("red"))
            || accessibleText(wells.at(1), QAccessible::Name).contains(QLatin1String("red")));

    view->setSelectedTab(1);
    QLabel *badge = nullptr;
    for (QLabel *label : view->currentTab()->findChildren<QLabel *>()) {
        if (label->text() == QLatin1String("Alt + `"))
            badge = label;
    }
    QVERIFY(badge);
    QCOMPARE(accessibleText(badge, QAccessible::Name), QStringLiteral("Alt plus backtick"));
}

void tst_Accessibility::drawerAndLinkDialogNamed()
{
    OpenDrawer d;
    QCOMPARE(accessibleText(d.editor, QAccessible::Name), QStringLiteral("Note"));
    QVERIFY(!accessibleText(d.editor, QAccessible::Description).isEmpty());

    d.view->requestLinkInsertion();
    LinkDialogView *dialog = d.view->linkDialog();
    QVERIFY(dialog);
    QStringList names;
    for (QWidget *control : dialog->findChildren<QWidget *>()) {
        if (!(control->focusPolicy() & Qt::TabFocus))
            continue;
        names << accessibleText(control, QAccessible::Name);
        QVERIFY2(!accessibleText(control, QAccessible::Description).isEmpty(),
                 qPrintable(names.constLast()));
    }
    names.sort();
    QCOMPARE(names,
             QStringList({QStringLiteral("Cancel"), QStringLiteral("Insert"),
                          QStringLiteral("Link Text"), QStringLiteral("URL")}));
    dialog->cancel();
}

QTEST_MAIN(tst_Accessibility)
#include "tst_Accessibility.moc"
