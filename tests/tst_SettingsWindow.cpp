// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "OpenDrawer.h"
#include "TestAppState.h"

#include "app/ColorContrast.h"
#include "settings/AdvancedTab.h"
#include "settings/CloseButton.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsView.h"
#include "settings/SettingsWindow.h"
#include "settings/TabButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

class tst_SettingsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneWindowPerRun();
    void fixedSizeAndTitle();
    void centredWhenFirstMade();
    void keepsItsPlaceWhenShownAgain();
    void keepsTheSelectedTab();
    void dismissedByKeysAndButtons_data();
    void dismissedByKeysAndButtons();
    void returnPressesTheFocusedPushButton();
    void readableInLightDarkAndHighContrast();
};

void tst_SettingsWindow::oneWindowPerRun()
{
    TestAppState t;
    AppState &state = t.start();
    QCOMPARE(state.settingsWindow(), nullptr);

    state.showSettingsWindow();
    SettingsWindow *first = state.settingsWindow();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    first->close();
    state.showSettingsWindow();
    state.showSettingsWindow();

    QCOMPARE(state.settingsWindow(), first);
    QVERIFY(first->isVisible());
    int windows = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        windows += qobject_cast<SettingsWindow *>(widget) ? 1 : 0;
    QCOMPARE(windows, 1);
}

void tst_SettingsWindow::fixedSizeAndTitle()
{
    TestAppState t;
    AppState &state = t.start();
    state.showSettingsWindow();
    SettingsWindow *window = state.settingsWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    QCOMPARE(window->windowTitle(), QStringLiteral("Jotshelf Settings"));
    QCOMPARE(window->size(), QSize(500, 550));
    QCOMPARE(window->minimumSize(), QSize(500, 550));
    QCOMPARE(window->maximumSize(), QSize(500, 550));
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!window->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(window->view()->currentTab()->height(), 400);

    // Header, tab bar, the 400-high body, footer and the two dividers fit the fixed height: the
    // footer is whole and nothing below the body is cut.
    SettingsView *view = window->view();
    QVERIFY2(view->layout()->minimumSize().height() <= SettingsWindow::fixedHeight,
             qPrintable(QString::number(view->layout()->minimumSize().height())));
    const QRect done(view->doneButton()->mapTo(window, QPoint()), view->doneButton()->size());
    QVERIFY(done.bottom() < SettingsWindow::fixedHeight - 8);
    const QRect body(view->currentTab()->mapTo(window, QPoint()), view->currentTab()->size());
    QVERIFY(body.bottom() < done.top() - 8);
    // The Appearance tab's content fits its body at the defaults: no scroll bar.
    auto *page = qobject_cast<QScrollArea *>(view->currentTab());
    QVERIFY(page);
    QVERIFY2(page->widget()->sizeHint().height() <= page->viewport()->height(),
             qPrintable(QString::number(page->widget()->sizeHint().height())));
    QVERIFY(!page->verticalScrollBar()->isVisible());
    QVERIFY(!page->horizontalScrollBar()->isVisible());
}

void tst_SettingsWindow::centredWhenFirstMade()
{
    TestAppState t;
    AppState &state = t.start();
    state.showSettingsWindow();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint centre = state.settingsWindow()->geometry().center();
    QVERIFY2((centre - available.center()).manhattanLength() <= 2,
             qPrintable(QStringLiteral("centre %1,%2").arg(centre.x()).arg(centre.y())));
}

void tst_SettingsWindow::keepsItsPlaceWhenShownAgain()
{
    TestAppState t;
    AppState &state = t.start();
    state.showSettingsWindow();
    SettingsWindow *window = state.settingsWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->move(37, 48);
    const QPoint moved = window->pos();

    window->close();
    QVERIFY(!window->isVisible());
    state.showSettingsWindow();

    QVERIFY(window->isVisible());
    QCOMPARE(window->pos(), moved);
}

void tst_SettingsWindow::keepsTheSelectedTab()
{
    TestAppState t;
    AppState &state = t.start();
    state.showSettingsWindow();
    SettingsView *view = state.settingsWindow()->view();
    QCOMPARE(view->selectedTab(), 0);
    QTest::mouseClick(view->tabButton(2), Qt::LeftButton);
    QCOMPARE(view->selectedTab(), 2);

    state.settingsWindow()->close();
    state.showSettingsWindow();

    QCOMPARE(state.settingsWindow()->view(), view);
    QCOMPARE(view->selectedTab(), 2);
    QVERIFY(view->tabButton(2)->isCurrent());
    QVERIFY(!view->tabButton(0)->isCurrent());
}

void tst_SettingsWindow::dismissedByKeysAndButtons_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << QStringLiteral("Escape");
    QTest::newRow("Return") << QStringLiteral("Return");
    QTest::newRow("Done") << QStringLiteral("Done");
    QTest::newRow("close button") << QStringLiteral("close button");
}

void tst_SettingsWindow::dismissedByKeysAndButtons()
{
    QFETCH(QString, how);
    OpenDrawer d;
    AppState &state = d.state;
    QVERIFY(QTest::qWaitForWindowActive(d.window));
    state.showSettingsWindow();
    SettingsWindow *window = state.settingsWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    SettingsView *view = window->view();
    QTest::mouseClick(view->tabButton(1), Qt::LeftButton);

    if (how == QLatin1String("Escape"))
        QTest::keyClick(window, Qt::Key_Escape);
    else if (how == QLatin1String("Return"))
        QTest::keyClick(window, Qt::Key_Return);
    else if (how == QLatin1String("Done"))
        QTest::mouseClick(view->doneButton(), Qt::LeftButton);
    else
        QTest::mouseClick(view->closeButton(), Qt::LeftButton);

    QVERIFY(!window->isVisible());
    QCOMPARE(state.settingsWindow(), window);
    QCOMPARE(view->selectedTab(), 1);
    // The drawer was open, so it has the keyboard again.
    QTRY_VERIFY(d.window->isActiveWindow());
    QTRY_VERIFY(d.editor->hasFocus());
}

// Return on a focused push button presses it (the window stays for "Reset to Defaults" and a
// tab button); on anything else, a check box here, it is "Done".
void tst_SettingsWindow::returnPressesTheFocusedPushButton()
{
    OpenDrawer d;
    AppState &state = d.state;
    state.showSettingsWindow();
    SettingsWindow *window = state.settingsWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    SettingsView *view = window->view();
    state.setWindowWidth(700);

    view->resetButton()->setFocus();
    QTest::keyClick(window, Qt::Key_Return);
    QVERIFY(window->isVisible());
    QCOMPARE(state.windowWidth(), 400.0);

    view->tabButton(1)->setFocus();
    QTest::keyClick(window, Qt::Key_Return);
    QVERIFY(window->isVisible());
    QCOMPARE(view->selectedTab(), 1);

    QWidget *box = view->currentTab()->findChild<QCheckBox *>();
    QVERIFY(box);
    box->setFocus();
    QTest::keyClick(window, Qt::Key_Return);
    QVERIFY(!window->isVisible());
}

// The captions, "Done"'s label and "Clear All Data"'s red as drawn reach 4.5:1 on their grounds
// in the style's light palette and in a dark one, and 7:1 in high-contrast mode.
void tst_SettingsWindow::readableInLightDarkAndHighContrast()
{
    TestAppState t;
    AppState &state = t.start();
    state.showSettingsWindow();
    SettingsWindow *window = state.settingsWindow();
    window->view()->setSelectedTab(2);
    auto *advanced = qobject_cast<AdvancedTab *>(window->view()->currentTab());
    QVERIFY(advanced);
    const QPalette light = QApplication::palette();
    auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
    for (const bool dark : {false, true}) {
        QApplication::setPalette(dark ? SettingsStyle::darkPalette() : light);
        for (const bool high : {false, true}) {
            state.setHighContrastMode(high);
            const double minimum = high ? 7.0 : 4.5;
            const QPalette &palette = window->palette();
            QCOMPARE(SettingsStyle::isLight(palette), !dark);
            const double caption = ColorContrast::ratio(palette.color(QPalette::PlaceholderText),
                                                        palette.color(QPalette::Window));
            // A button's label on its fill as drawn, beside the label.
            const auto onFill = [](QPushButton *button) {
                const QImage drawn = button->grab().toImage();
                const QColor label = button->palette().color(QPalette::ButtonText);
                double fill = 21;
                for (int y = drawn.height() / 4; y < drawn.height() * 3 / 4; ++y)
                    fill = std::min(fill, ColorContrast::ratio(drawn.pixelColor(4, y), label));
                return fill;
            };
            const double done = onFill(window->view()->doneButton());
            const double clear = onFill(advanced->clearButton());
            QVERIFY2(caption >= minimum && done >= minimum && clear >= minimum,
                     qPrintable(QStringLiteral("dark %1, high contrast %2: captions %3, Done %4, "
                                               "Clear All Data %5")
                                    .arg(dark)
                                    .arg(high)
                                    .arg(caption)
                                    .arg(done)
                                    .arg(clear)));
        }
    }
}

QTEST_MAIN(tst_SettingsWindow)
#include "tst_SettingsWindow.moc"
