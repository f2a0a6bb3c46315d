#include "TestAppState.h"

#include "settings/SettingsView.h"
#include "settings/SettingsWindow.h"
#include "settings/TabButton.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

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
    TestAppState t;
    AppState &state = t.start();
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
}

QTEST_MAIN(tst_SettingsWindow)
#include "tst_SettingsWindow.moc"
