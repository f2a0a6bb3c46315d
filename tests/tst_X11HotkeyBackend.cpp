// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/X11HotkeyBackend.h"

#include "X11TestClient.h"
#include "XvfbTestMain.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>
#undef Status
#undef Bool
#undef None

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

// Runs twice under CTest: on the offscreen platform, where there is no X11 connection, and
// with -xvfb on a private X server that the test starts before its application. What every
// backend does (presses reported once, other keys silent, keys it cannot grab refused) is
// tst_HotkeyBackendBehaviour's; here is what the X11 grab alone does.

namespace {

using Result = HotkeyBackend::Result;
constexpr QKeyCombination altBacktick(Qt::AltModifier, Qt::Key_QuoteLeft);
constexpr QKeyCombination ctrlBacktick(Qt::ControlModifier, Qt::Key_QuoteLeft);
const QString noteId = QStringLiteral("toggle-drawer");
// Ctrl+` serves as a marker: once its press arrives, every event sent before it has arrived.
const QString markerId = QStringLiteral("marker");

/// Counts the key presses of one key that reach the application, repeats included.
class RawPressCounter : public QAbstractNativeEventFilter
{
public:
    explicit RawPressCounter(xcb_keycode_t keycode)
        : m_keycode(keycode)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_key_press_event_t *>(message);
        if ((event->response_type & ~0x80) == XCB_KEY_PRESS && event->detail == m_keycode)
            ++count;
        return false;
    }

    int count = 0;

private:
    xcb_keycode_t m_keycode = 0;
};

} // namespace

class TestX11HotkeyBackend : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersUnavailableWithoutX11();
    void grabsEveryLockStateAndReleasesThem();
    void destructionReleasesTheKey();
    void keyHeldByAnotherClientIsAlreadyTaken_data();
    void keyHeldByAnotherClientIsAlreadyTaken();
    void repeatsOfAHeldKeyAreNotPresses();
    void heldKeyIsOnePress();
    void locksDoNotStopTheKey_data();
    void locksDoNotStopTheKey();

private:
    bool requireX11();
    Display *display() const;
    xcb_connection_t *connection() const;
    xcb_keycode_t keycodeOf(KeySym keysym) const;
    quint16 numLockMask() const;
    /// The four lock combinations of Alt+`.
    QList<quint16> altVariants() const;
    bool xdotool(const QStringList &arguments);
    /// Presses the marker and waits for it: everything sent before it has been handled.
    bool settle(QSignalSpy &pressed);
    void syncQtConnection();
    std::unique_ptr<X11TestClient> otherClient();
};

bool TestX11HotkeyBackend::requireX11()
{
    if (!runsOnX11())
        QTest::qSkip("runs on a private X server (tst_X11HotkeyBackend -xvfb)", __FILE__, __LINE__);
    else if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QTest::qSkip("needs xdotool (Debian package xdotool)", __FILE__, __LINE__);
    else
        return true;
    return false;
}

Display *TestX11HotkeyBackend::display() const
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
}

xcb_connection_t *TestX11HotkeyBackend::connection() const
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_keycode_t TestX11HotkeyBackend::keycodeOf(KeySym keysym) const
{
    return XKeysymToKeycode(display(), keysym);
}

quint16 TestX11HotkeyBackend::numLockMask() const
{
    XModifierKeymap *map = XGetModifierMapping(display());
    const KeyCode numLock = keycodeOf(XK_Num_Lock);
    quint16 mask = 0;
    for (int i = 0; i < 8 * map->max_keypermod; ++i) {
        if (numLock && map->modifiermap[i] == numLock)
            mask = quint16(1u << (i / map->max_keypermod));
    }
    XFreeModifiermap(map);
    return mask;
}

QList<quint16> TestX11HotkeyBackend::altVariants() const
{
    const quint16 numLock = numLockMask();
    return {XCB_MOD_MASK_1, XCB_MOD_MASK_1 | XCB_MOD_MASK_LOCK, quint16(XCB_MOD_MASK_1 | numLock),
            quint16(XCB_MOD_MASK_1 | numLock | XCB_MOD_MASK_LOCK)};
}

bool TestX11HotkeyBackend::xdotool(const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProcessEnvironment(privateXServer()->environment());
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

bool TestX11HotkeyBackend::settle(QSignalSpy &pressed)
{
    const auto markers = [&] {
        return std::count_if(pressed.cbegin(), pressed.cend(), [](const QList<QVariant> &args) {
            return args.at(0).toString() == markerId;
        });
    };
    const auto before = markers();
    if (!xdotool({QStringLiteral("key"), QStringLiteral("ctrl+grave")}))
        return false;
    return QTest::qWaitFor([&] { return markers() > before; }, 10000);
}

void TestX11HotkeyBackend::syncQtConnection()
{
    std::free(xcb_get_input_focus_reply(connection(), xcb_get_input_focus(connection()), nullptr));
}

std::unique_ptr<X11TestClient> TestX11HotkeyBackend::otherClient()
{
    auto client = std::make_unique<X11TestClient>(privateXServer()->display().toLocal8Bit());
    return client->isConnected() ? std::move(client) : nullptr;
}

void TestX11HotkeyBackend::answersUnavailableWithoutX11()
{
    if (qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        QSKIP("runs where there is no X11 connection (the offscreen platform)");
    auto backend = std::make_unique<X11HotkeyBackend>();
    QSignalSpy finished(backend.get(), &HotkeyBackend::registrationFinished);
    backend->registerHotkey(noteId, altBacktick);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toString(), noteId);
    QCOMPARE(finished.at(0).at(1).value<Result>(), Result::Unavailable);
    backend->unregisterHotkey(noteId);
    backend.reset();
}

void TestX11HotkeyBackend::grabsEveryLockStateAndReleasesThem()
{
    if (!requireX11())
        return;
    const auto other = otherClient();
    QVERIFY(other);
    QVERIFY2(numLockMask() != 0, "the server's keymap puts NumLock on no modifier");
    const xcb_keycode_t grave = keycodeOf(XK_grave);

    X11HotkeyBackend backend;
    QSignalSpy finished(&backend, &HotkeyBackend::registrationFinished);
    backend.registerHotkey(noteId, altBacktick);
    QCOMPARE(finished.at(0).at(1).value<Result>(), Result::Registered);
    for (const quint16 variant : altVariants())
        QCOMPARE(other->grab(grave, variant), int(XCB_ACCESS));

    backend.unregisterHotkey(noteId);
    syncQtConnection();
    for (const quint16 variant : altVariants())
        QCOMPARE(other->grab(grave, variant), 0);
    for (const quint16 variant : altVariants())
        other->ungrab(grave, variant);
}

void TestX11HotkeyBackend::destructionReleasesTheKey()
{
    if (!requireX11())
        return;
    const auto other = otherClient();
    QVERIFY(other);
    const xcb_keycode_t grave = keycodeOf(XK_grave);
    {
        X11HotkeyBackend backend;
        backend.registerHotkey(noteId, altBacktick);
        QCOMPARE(other->grab(grave, XCB_MOD_MASK_1), int(XCB_ACCESS));
    }
    syncQtConnection();
    for (const quint16 variant : altVariants())
        QCOMPARE(other->grab(grave, variant), 0);
    for (const quint16 variant : altVariants())
        other->ungrab(grave, variant);
}

void TestX11HotkeyBackend::keyHeldByAnotherClientIsAlreadyTaken_data()
{
    // Which lock combination the other program holds: any one of them makes the key taken.
    QTest::addColumn<int>("heldVariant");
    QTest::newRow("Alt") << 0;
    QTest::newRow("Alt+CapsLock") << 1;
    QTest::newRow("Alt+NumLock") << 2;
    QTest::newRow("Alt+CapsLock+NumLock") << 3;
}

void TestX11HotkeyBackend::keyHeldByAnotherClientIsAlreadyTaken()
{
    QFETCH(int, heldVariant);
    if (!requireX11())
        return;
    const auto other = otherClient();
    QVERIFY(other);
    const xcb_keycode_t grave = keycodeOf(XK_grave);
    const QList<quint16> variants = altVariants();
    QCOMPARE(other->grab(grave, variants.at(heldVariant)), 0);

    X11HotkeyBackend backend;
    QSignalSpy finished(&backend, &HotkeyBackend::registrationFinished);
    QSignalSpy pressed(&backend, &HotkeyBackend::pressed);
    backend.registerHotkey(noteId, altBacktick);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(1).value<Result>(), Result::Taken);

    // The lock combinations that were free are given back: the other program can take them.
    syncQtConnection();
    for (qsizetype i = 0; i < variants.size(); ++i) {
        if (i != heldVariant)
            QCOMPARE(other->grab(grave, variants.at(i)), 0);
    }
    for (const quint16 variant : variants)
        other->ungrab(grave, variant);

    // Once the other program let go, the key can be registered.
    backend.registerHotkey(noteId, altBacktick);
    QCOMPARE(finished.at(1).at(1).value<Result>(), Result::Registered);
    QVERIFY(pressed.isEmpty());
}

void TestX11HotkeyBackend::repeatsOfAHeldKeyAreNotPresses()
{
    if (!requireX11())
        return;
    X11HotkeyBackend backend;
    QSignalSpy pressed(&backend, &HotkeyBackend::pressed);
    backend.registerHotkey(noteId, altBacktick);

    // Events as the server sends them for a held key: press, then release and press pairs
    // sharing one time stamp, then the real release.
    const auto send = [&](quint8 type, xcb_timestamp_t time, quint16 state) {
        xcb_key_press_event_t event;
        std::memset(&event, 0, sizeof event);
        event.response_type = type;
        event.detail = keycodeOf(XK_grave);
        event.time = time;
        event.root = XDefaultRootWindow(display());
        event.event = event.root;
        event.state = state;
        qintptr result = 0;
        QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &event,
                                                                &result);
    };
    const quint16 alt = XCB_MOD_MASK_1;
    send(XCB_KEY_PRESS, 1000, alt);
    QCOMPARE(pressed.count(), 1);
    for (xcb_timestamp_t time = 1660; time < 2000; time += 40) {
        send(XCB_KEY_RELEASE, time, alt);
        send(XCB_KEY_PRESS, time, alt);
    }
    send(XCB_KEY_RELEASE, 2100, 0); // Alt let go first
    QCOMPARE(pressed.count(), 1);

    send(XCB_KEY_PRESS, 2500, alt | XCB_MOD_MASK_LOCK | numLockMask());
    QCOMPARE(pressed.count(), 2);
    send(XCB_KEY_RELEASE, 2600, alt);
    send(XCB_KEY_PRESS, 2700, alt | XCB_MOD_MASK_SHIFT);
    QCOMPARE(pressed.count(), 2);
}

void TestX11HotkeyBackend::heldKeyIsOnePress()
{
    if (!requireX11())
        return;
    const auto other = otherClient();
    QVERIFY(other);
    X11HotkeyBackend backend;
    QSignalSpy pressed(&backend, &HotkeyBackend::pressed);
    backend.registerHotkey(noteId, altBacktick);
    backend.registerHotkey(markerId, ctrlBacktick);
    const RawPressCounter raw(keycodeOf(XK_grave));
    auto release = qScopeGuard([&] {
        xdotool({QStringLiteral("keyup"), QStringLiteral("alt+grave")});
    });

    QVERIFY(xdotool({QStringLiteral("keydown"), QStringLiteral("alt+grave")}));
    if (other->autoRepeatIsOn()) {
        // Hold until the server has repeated the key a few times.
        QTRY_VERIFY_WITH_TIMEOUT(raw.count >= 4, 15000);
    } else {
        qWarning("the X server does not repeat held keys; only a single press is checked");
        QTRY_VERIFY(raw.count >= 1);
    }
    QVERIFY(xdotool({QStringLiteral("keyup"), QStringLiteral("alt+grave")}));
    release.dismiss();
    QVERIFY(settle(pressed));
    QCOMPARE(pressed.count(), 2); // one press of the key, one of the marker
    QCOMPARE(pressed.at(0).at(0).toString(), noteId);
}

void TestX11HotkeyBackend::locksDoNotStopTheKey_data()
{
    QTest::addColumn<QStringList>("lockKeys");
    QTest::newRow("NumLock") << QStringList {QStringLiteral("Num_Lock")};
    QTest::newRow("CapsLock") << QStringList {QStringLiteral("Caps_Lock")};
    QTest::newRow("NumLock and CapsLock")
        << QStringList {QStringLiteral("Num_Lock"), QStringLiteral("Caps_Lock")};
}

void TestX11HotkeyBackend::locksDoNotStopTheKey()
{
    QFETCH(QStringList, lockKeys);
    if (!requireX11())
        return;
    const auto other = otherClient();
    QVERIFY(other);
    const quint16 numLock = numLockMask();
    X11HotkeyBackend backend;
    QSignalSpy pressed(&backend, &HotkeyBackend::pressed);
    backend.registerHotkey(noteId, altBacktick);
    backend.registerHotkey(markerId, ctrlBacktick);

    // The lock keys toggle: pressing them again afterwards turns the locks off.
    const auto toggleLocks = [&] {
        for (const QString &key : lockKeys)
            xdotool({QStringLiteral("key"), key});
    };
    toggleLocks();
    const auto unlock = qScopeGuard(toggleLocks);
    const quint16 expected = (lockKeys.contains(QStringLiteral("Num_Lock")) ? numLock : 0)
        | (lockKeys.contains(QStringLiteral("Caps_Lock")) ? XCB_MOD_MASK_LOCK : 0);
    QCOMPARE(other->modifierState() & (numLock | XCB_MOD_MASK_LOCK), expected);

    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+grave")}));
    QVERIFY(settle(pressed));
    QCOMPARE(pressed.count(), 2);
    QCOMPARE(pressed.at(0).at(0).toString(), noteId);
}

int main(int argc, char *argv[])
{
    return runTestWithOptionalXvfb<TestX11HotkeyBackend>(argc, argv);
}

#include "tst_X11HotkeyBackend.moc"
