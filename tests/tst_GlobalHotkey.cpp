// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/GlobalHotkey.h"

#include "FakeHotkeyBackend.h"
#include "TestAppState.h"

#include "app/AppState.h"
#include "drawer/BorderlessWindow.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

namespace {

const QString successLine
    = QStringLiteral("✅ Global hotkey (Option+Backtick) registered successfully");
const QString triggeredLine = QStringLiteral("🎯 HOTKEY TRIGGERED!");

qsizetype triggeredCount(const QStringList &lines)
{
    return lines.count(triggeredLine);
}

} // namespace

class TestGlobalHotkey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void registersAltBacktickAtStart();
    void reportsFailedRegistration_data();
    void reportsFailedRegistration();
    void deferredAnswerInstallsHandlerOnlyThen();
    void repeatedSuccessInstallsOneHandler();
    void pressTogglesDrawerOnALaterTurn();
    void pressesOfOtherKeysAreIgnored();
    void pressLeftQueuedWhenModelGoesDoesNothing();
    void unregistersWhenModelIsDestroyed();
    void registersOnceTheDrawerExists();
    void noticeSaysHowToBindOnThisDesktop_data();
    void noticeSaysHowToBindOnThisDesktop();
};

void TestGlobalHotkey::registersAltBacktickAtStart()
{
    TestAppState t;
    t.start();
    QCOMPARE(t.hotkeys->registered, QStringList {GlobalHotkey::backendId()});
    QCOMPARE(t.hotkeys->lastKey, QKeyCombination(Qt::AltModifier, Qt::Key_QuoteLeft));
    QCOMPARE(t.lines, QStringList {successLine});
}

void TestGlobalHotkey::reportsFailedRegistration_data()
{
    using Result = HotkeyBackend::Result;
    QTest::addColumn<Result>("result");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("statusLine");
    QTest::addColumn<QString>("reasonLine");
    QTest::addColumn<QString>("whatLine");

    const QString unknown = QStringLiteral("   Reason: Unknown error");
    QTest::newRow("already taken")
        << Result::Taken << QStringLiteral("KWin keeps Alt+` for itself.")
        << QStringLiteral("❌ Failed to register global hotkey. Status: -9868")
        << QStringLiteral("   Reason: Hotkey already exists")
        << QStringLiteral("   KWin keeps Alt+` for itself.");
    QTest::newRow("parameter error")
        << Result::Invalid << QString()
        << QStringLiteral("❌ Failed to register global hotkey. Status: -9874")
        << QStringLiteral("   Reason: Parameter error")
        << QStringLiteral("   This desktop cannot register Alt+`.");
    QTest::newRow("no X11 connection")
        << Result::Unavailable << QStringLiteral("There is no X11 connection.")
        << QStringLiteral("❌ Failed to register global hotkey. Status: -1") << unknown
        << QStringLiteral("   There is no X11 connection.");
    QTest::newRow("other failure")
        << Result::Failed << QString()
        << QStringLiteral("❌ Failed to register global hotkey. Status: -2") << unknown
        << QStringLiteral("   The desktop failed to register the global key.");
    QTest::newRow("refused") << Result::Refused << QString()
                             << QStringLiteral("❌ Failed to register global hotkey. Status: -3")
                             << unknown << QStringLiteral("   The desktop refused the global key.");
    QTest::newRow("no answer")
        << Result::NoAnswer << QString()
        << QStringLiteral("❌ Failed to register global hotkey. Status: -4") << unknown
        << QStringLiteral("   The desktop did not answer the request for the global key.");
}

void TestGlobalHotkey::reportsFailedRegistration()
{
    QFETCH(HotkeyBackend::Result, result);
    QFETCH(QString, reason);
    QFETCH(QString, statusLine);
    QFETCH(QString, reasonLine);
    QFETCH(QString, whatLine);

    TestAppState t;
    t.hotkeyAnswer = result;
    t.prepareHotkeys = [&](FakeHotkeyBackend &backend) { backend.reason = reason; };
    AppState &state = t.start();
    t.instantSlides();
    QCOMPARE(t.lines, (QStringList {statusLine, reasonLine, whatLine}));

    // No handler: a press of the very key does nothing, now or later.
    t.hotkeys->pressAnyway(GlobalHotkey::backendId());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(t.lines.size(), 3);
    QVERIFY(!state.drawerWindow()->isVisible());

    // What was never registered is not unregistered.
    QSignalSpy unregisters(t.hotkeys, &FakeHotkeyBackend::unregisterRequested);
    t.state.reset();
    QCOMPARE(unregisters.count(), 0);
}

void TestGlobalHotkey::deferredAnswerInstallsHandlerOnlyThen()
{
    TestAppState t;
    t.prepareHotkeys = [](FakeHotkeyBackend &backend) { backend.deferred = true; };
    AppState &state = t.start();
    t.instantSlides();
    QVERIFY(t.lines.isEmpty());

    t.hotkeys->pressAnyway(GlobalHotkey::backendId());
    QCoreApplication::processEvents();
    QVERIFY(t.lines.isEmpty());
    QVERIFY(!state.drawerWindow()->isVisible());

    t.hotkeys->finishRegistration();
    QCOMPARE(t.lines, QStringList {successLine});
    t.hotkeys->press(GlobalHotkey::backendId());
    QCOMPARE(triggeredCount(t.lines), 1);
    QTRY_VERIFY(state.drawerWindow()->isVisible());
}

void TestGlobalHotkey::repeatedSuccessInstallsOneHandler()
{
    TestAppState t;
    AppState &state = t.start();
    state.setupGlobalHotkey();
    QCOMPARE(t.lines, (QStringList {successLine, successLine}));

    t.hotkeys->press(GlobalHotkey::backendId());
    QCOMPARE(triggeredCount(t.lines), 1);
}

void TestGlobalHotkey::pressTogglesDrawerOnALaterTurn()
{
    TestAppState t;
    AppState &state = t.start();
    t.instantSlides();
    BorderlessWindow *window = state.drawerWindow();
    QVERIFY(window);
    t.lines.clear();

    t.hotkeys->press(GlobalHotkey::backendId());
    QCOMPARE(t.lines.value(0), triggeredLine);
    // The handler only schedules the toggle.
    QVERIFY(!window->isVisible());
    QTRY_VERIFY(window->isVisible());

    t.hotkeys->press(GlobalHotkey::backendId());
    QCOMPARE(triggeredCount(t.lines), 2);
    QVERIFY(window->isVisible());
    QTRY_VERIFY(!window->isVisible());
    QCOMPARE(t.lines.first(), triggeredLine);
}

void TestGlobalHotkey::pressesOfOtherKeysAreIgnored()
{
    TestAppState t;
    AppState &state = t.start();
    t.instantSlides();
    t.lines.clear();

    // The backend also reports the presses of keys registered there under other ids.
    t.hotkeys->pressAnyway(QStringLiteral("another-key"));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QVERIFY(t.lines.isEmpty());
    QVERIFY(!state.drawerWindow()->isVisible());
}

void TestGlobalHotkey::pressLeftQueuedWhenModelGoesDoesNothing()
{
    TestAppState t;
    t.start();
    t.hotkeys->press(GlobalHotkey::backendId());
    QCOMPARE(triggeredCount(t.lines), 1);
    t.state.reset();
    // The queued toggle goes with the model and must not touch the one that is gone.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(t.lines, (QStringList {successLine, triggeredLine}));
}

void TestGlobalHotkey::unregistersWhenModelIsDestroyed()
{
    TestAppState t;
    t.start();
    QVERIFY(t.hotkeys->unregistered.isEmpty());
    QSignalSpy unregisters(t.hotkeys, &FakeHotkeyBackend::unregisterRequested);
    t.state.reset();
    QCOMPARE(unregisters.count(), 1);
    QCOMPARE(unregisters.at(0).at(0).toString(), GlobalHotkey::backendId());
}

void TestGlobalHotkey::registersOnceTheDrawerExists()
{
    TestAppState t;
    bool drawerExistedAtRegistration = false;
    t.prepareHotkeys = [&](FakeHotkeyBackend &backend) {
        backend.onRegister = [&](const QString &) {
            const QWidgetList windows = QApplication::topLevelWidgets();
            drawerExistedAtRegistration
                = std::any_of(windows.cbegin(), windows.cend(), [](const QWidget *window) {
                      return qobject_cast<const BorderlessWindow *>(window);
                  });
        };
    };
    t.start();
    QVERIFY(drawerExistedAtRegistration);
}

void TestGlobalHotkey::noticeSaysHowToBindOnThisDesktop_data()
{
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QString>("where");

    QTest::newRow("KDE") << QStringLiteral("KDE") << QStringLiteral("System Settings → Shortcuts");
    QTest::newRow("GNOME under another name")
        << QStringLiteral("ubuntu:GNOME") << QStringLiteral("Keyboard → View and Customize");
    QTest::newRow("Xfce") << QStringLiteral("XFCE") << QStringLiteral("Application Shortcuts");
    QTest::newRow("unknown desktop") << QStringLiteral("sway") << QStringLiteral("README");
    QTest::newRow("no desktop named") << QString() << QStringLiteral("README");
}

void TestGlobalHotkey::noticeSaysHowToBindOnThisDesktop()
{
    QFETCH(QString, desktop);
    QFETCH(QString, where);
    const QString reason = QStringLiteral("The desktop keeps Alt+` for itself.");
    const QString message = GlobalHotkey::takenKeyNoticeMessage(reason, desktop);
    QVERIFY2(message.contains(reason), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("\"jotshelf --toggle\"")), qPrintable(message));
    QVERIFY2(message.contains(where), qPrintable(message));
}

QTEST_MAIN(TestGlobalHotkey)
#include "tst_GlobalHotkey.moc"
