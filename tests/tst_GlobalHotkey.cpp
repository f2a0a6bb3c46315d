#include "drawer/GlobalHotkey.h"

#include "FakeHotkeyBackend.h"
#include "TestAppState.h"

#include "app/AppState.h"
#include "drawer/BorderlessWindow.h"

#include <QSignalSpy>
#include <QTest>

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
    void otherIdentifiersAreIgnored_data();
    void otherIdentifiersAreIgnored();
    void pressLeftQueuedWhenModelGoesDoesNothing();
    void unregistersWhenModelIsDestroyed();
    void globalReferenceLivesWithTheModel();
};

void TestGlobalHotkey::registersAltBacktickAtStart()
{
    TestAppState t;
    t.start();
    QCOMPARE(t.hotkeys->registered, QList<HotkeyId> {GlobalHotkey::identifier});
    QCOMPARE(t.hotkeys->lastKeyCode, 50u);
    QCOMPARE(t.hotkeys->lastModifiers, 2048u);
    QCOMPARE(GlobalHotkey::identifier.signature, 0x4E6F7465u); // "Note"
    QCOMPARE(GlobalHotkey::identifier.id, 1u);
    QCOMPARE(t.lines, QStringList {successLine});
}

void TestGlobalHotkey::reportsFailedRegistration_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("statusLine");
    QTest::addColumn<QString>("reasonLine");

    QTest::newRow("already taken")
        << -9868 << QStringLiteral("❌ Failed to register global hotkey. Status: -9868")
        << QStringLiteral("   Reason: Hotkey already exists");
    QTest::newRow("parameter error")
        << -9874 << QStringLiteral("❌ Failed to register global hotkey. Status: -9874")
        << QStringLiteral("   Reason: Parameter error");
    QTest::newRow("other status") << -50
                                  << QStringLiteral(
                                         "❌ Failed to register global hotkey. Status: -50")
                                  << QStringLiteral("   Reason: Unknown error");
    QTest::newRow("no X11 connection")
        << -1 << QStringLiteral("❌ Failed to register global hotkey. Status: -1")
        << QStringLiteral("   Reason: Unknown error");
    QTest::newRow("X error code") << 3
                                  << QStringLiteral("❌ Failed to register global hotkey. Status: 3")
                                  << QStringLiteral("   Reason: Unknown error");
}

void TestGlobalHotkey::reportsFailedRegistration()
{
    QFETCH(int, status);
    QFETCH(QString, statusLine);
    QFETCH(QString, reasonLine);

    TestAppState t;
    t.hotkeyAnswer = status;
    AppState &state = t.start();
    t.instantSlides();
    QCOMPARE(t.lines, (QStringList {statusLine, reasonLine}));

    // No handler: a press of the very key does nothing, now or later.
    t.hotkeys->press(GlobalHotkey::identifier);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(t.lines.size(), 2);
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

    t.hotkeys->press(GlobalHotkey::identifier);
    QCoreApplication::processEvents();
    QVERIFY(t.lines.isEmpty());
    QVERIFY(!state.drawerWindow()->isVisible());

    t.hotkeys->finishRegistration();
    QCOMPARE(t.lines, QStringList {successLine});
    t.hotkeys->press(GlobalHotkey::identifier);
    QCOMPARE(triggeredCount(t.lines), 1);
    QTRY_VERIFY(state.drawerWindow()->isVisible());
}

void TestGlobalHotkey::repeatedSuccessInstallsOneHandler()
{
    TestAppState t;
    AppState &state = t.start();
    state.setupGlobalHotkey();
    QCOMPARE(t.lines, (QStringList {successLine, successLine}));

    t.hotkeys->press(GlobalHotkey::identifier);
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

    t.hotkeys->press(GlobalHotkey::identifier);
    QCOMPARE(t.lines.value(0), triggeredLine);
    // The handler only schedules the toggle.
    QVERIFY(!window->isVisible());
    QTRY_VERIFY(window->isVisible());

    t.hotkeys->press(GlobalHotkey::identifier);
    QCOMPARE(triggeredCount(t.lines), 2);
    QVERIFY(window->isVisible());
    QTRY_VERIFY(!window->isVisible());
    QCOMPARE(t.lines.first(), triggeredLine);
}

void TestGlobalHotkey::otherIdentifiersAreIgnored_data()
{
    QTest::addColumn<quint32>("signature");
    QTest::addColumn<quint32>("id");

    QTest::newRow("Note, id 2") << fourCharCode("Note") << 2u;
    QTest::newRow("Note, id 0") << fourCharCode("Note") << 0u;
    QTest::newRow("other signature, id 1") << fourCharCode("EtoN") << 1u;
    QTest::newRow("zeroed identifier") << 0u << 0u;
}

void TestGlobalHotkey::otherIdentifiersAreIgnored()
{
    QFETCH(quint32, signature);
    QFETCH(quint32, id);
    const HotkeyId other {signature, id};

    TestAppState t;
    AppState &state = t.start();
    t.instantSlides();
    t.lines.clear();

    t.hotkeys->press(other);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QVERIFY(t.lines.isEmpty());
    QVERIFY(!state.drawerWindow()->isVisible());

    // The handler answers no error either way.
    GlobalHotkey handler(state);
    QCOMPARE(handler.handlePress(other), 0);
    QVERIFY(t.lines.isEmpty());
    QCOMPARE(handler.handlePress(GlobalHotkey::identifier), 0);
    QCOMPARE(t.lines, QStringList {triggeredLine});
}

void TestGlobalHotkey::pressLeftQueuedWhenModelGoesDoesNothing()
{
    TestAppState t;
    t.start();
    t.hotkeys->press(GlobalHotkey::identifier);
    QCOMPARE(triggeredCount(t.lines), 1);
    t.state.reset();
    // The queued toggle finds no model and must not touch the one that is gone.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QVERIFY(globalAppState.isNull());
}

void TestGlobalHotkey::unregistersWhenModelIsDestroyed()
{
    TestAppState t;
    t.start();
    QVERIFY(t.hotkeys->unregistered.isEmpty());
    QSignalSpy unregisters(t.hotkeys, &FakeHotkeyBackend::unregisterRequested);
    t.state.reset();
    QCOMPARE(unregisters.count(), 1);
    QCOMPARE(unregisters.at(0).at(0).value<HotkeyId>(), GlobalHotkey::identifier);
}

void TestGlobalHotkey::globalReferenceLivesWithTheModel()
{
    TestAppState t;
    AppState *seenAtRegistration = nullptr;
    bool drawerExistedAtRegistration = false;
    t.prepareHotkeys = [&](FakeHotkeyBackend &backend) {
        backend.onRegister = [&](HotkeyId) {
            seenAtRegistration = globalAppState.data();
            drawerExistedAtRegistration = globalAppState && globalAppState->drawerWindow();
        };
    };
    AppState &state = t.start();
    QCOMPARE(seenAtRegistration, &state);
    QVERIFY(drawerExistedAtRegistration);
    QCOMPARE(globalAppState.data(), &state);

    t.state.reset();
    QVERIFY(globalAppState.isNull());
}

QTEST_MAIN(TestGlobalHotkey)
#include "tst_GlobalHotkey.moc"
