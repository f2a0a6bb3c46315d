// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/HotkeyBackend.h"

#include "FakeHotkeyBackend.h"
#include "PrivateSessionBus.h"
#include "StandInPortal.h"
#include "XvfbTestMain.h"

#include "platform/PortalHotkeyBackend.h"
#include "platform/X11HotkeyBackend.h"

#include <QDBusPendingCallWatcher>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <memory>
#include <utility>

// The same cases against every backend: the fake the other tests use, the X11 grab on the
// test's private Xvfb, and the portal on a stand-in portal. What one backend does and another
// does not is a fault in one of them (or in the fake).

namespace {

using Result = HotkeyBackend::Result;
const QString drawerId = QStringLiteral("toggle-drawer");
constexpr QKeyCombination altBacktick(Qt::AltModifier, Qt::Key_QuoteLeft);

/// Makes one kind of backend and presses keys at it the way its window system would.
class Rig
{
public:
    virtual ~Rig() = default;
    /// Why this backend cannot be tested here; empty when it can.
    virtual QString unavailable() const { return {}; }
    virtual HotkeyBackend &backend() = 0;
    /// Presses Alt+`.
    virtual bool pressAltBacktick() = 0;
    /// Presses what is near Alt+` but not it: other keys and modifiers, other shortcuts.
    virtual bool pressOtherKeys() = 0;
    /// Returns once everything pressed before has reached the backend.
    virtual bool settle() { return true; }
    /// What the window system was asked so far, where the rig sees it.
    virtual QStringList requests() const { return {}; }
};

class FakeRig : public Rig
{
public:
    HotkeyBackend &backend() override { return m_backend; }
    bool pressAltBacktick() override
    {
        m_backend.pressKey(altBacktick);
        return true;
    }
    bool pressOtherKeys() override
    {
        m_backend.pressKey(QKeyCombination(Qt::Key_QuoteLeft));
        m_backend.pressKey(QKeyCombination(Qt::ShiftModifier | Qt::AltModifier, Qt::Key_QuoteLeft));
        m_backend.pressKey(QKeyCombination(Qt::AltModifier, Qt::Key_1));
        return true;
    }

private:
    FakeHotkeyBackend m_backend;
};

class X11Rig : public Rig
{
public:
    QString unavailable() const override
    {
        if (!runsOnX11())
            return QStringLiteral("runs on a private X server (-xvfb)");
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            return QStringLiteral("needs xdotool (Debian package xdotool)");
        return {};
    }
    HotkeyBackend &backend() override { return m_backend; }
    bool pressAltBacktick() override { return xdotool(QStringLiteral("alt+grave")); }
    bool pressOtherKeys() override
    {
        return xdotool(QStringLiteral("grave")) && xdotool(QStringLiteral("shift+alt+grave"))
            && xdotool(QStringLiteral("alt+1"));
    }
    // Ctrl+` is the marker: once its press is in, every key sent before it is too.
    bool settle() override
    {
        QSignalSpy pressed(&m_backend, &HotkeyBackend::pressed);
        m_backend.registerHotkey(QStringLiteral("marker"),
                                 QKeyCombination(Qt::ControlModifier, Qt::Key_QuoteLeft));
        const bool arrived = xdotool(QStringLiteral("ctrl+grave")) && QTest::qWaitFor([&] {
                                 for (const QList<QVariant> &arguments : std::as_const(pressed)) {
                                     if (arguments.at(0).toString() == u"marker")
                                         return true;
                                 }
                                 return false;
                             });
        m_backend.unregisterHotkey(QStringLiteral("marker"));
        return arrived;
    }

private:
    static bool xdotool(const QString &keys)
    {
        QProcess process;
        process.start(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
        return process.waitForFinished(30000) && process.exitCode() == 0;
    }

    X11HotkeyBackend m_backend;
};

class PortalRig : public Rig
{
public:
    explicit PortalRig(PrivateSessionBus &bus)
        : m_portalBus(bus.connect(QStringLiteral("portal")))
        , m_appBus(bus.connect(QStringLiteral("app")))
        , m_portal(m_portalBus)
    {
        m_published = m_portal.publish();
        m_backend = std::make_unique<PortalHotkeyBackend>(m_appBus);
    }
    ~PortalRig() override
    {
        m_backend.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
        QDBusConnection::disconnectFromBus(QStringLiteral("app"));
    }

    QString unavailable() const override
    {
        return m_published ? QString() : QStringLiteral("no private session bus");
    }
    HotkeyBackend &backend() override { return *m_backend; }
    // The portal reports a press of every shortcut it was given with the key.
    bool pressAltBacktick() override
    {
        for (const StandInPortal::Call &call : std::as_const(m_portal.calls)) {
            if (call.member != u"CreateSession")
                continue;
            const auto options = qdbus_cast<QVariantMap>(call.arguments.value(0));
            const auto shortcuts
                = qdbus_cast<QList<PortalShortcut>>(options.value(QStringLiteral("shortcuts")));
            for (const PortalShortcut &shortcut : shortcuts) {
                if (shortcut.properties.value(QStringLiteral("preferred_trigger")).toString()
                    == u"ALT+grave")
                    m_portal.activate(shortcut.id, m_portal.sessionPath);
            }
        }
        return true;
    }
    // Another shortcut of the session, and the drawer's id in another session.
    bool pressOtherKeys() override
    {
        m_portal.activate(QStringLiteral("another-shortcut"), m_portal.sessionPath);
        m_portal.activate(drawerId, StandIns::portalPath + QStringLiteral("/session/x/y"));
        return true;
    }
    // The bus keeps the order of one connection's messages: the reply to a ping of the portal
    // comes after the presses it sent before.
    bool settle() override
    {
        QDBusPendingCallWatcher ping(m_appBus.asyncCall(QDBusMessage::createMethodCall(
            m_portalBus.baseService(), QStringLiteral("/"),
            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"))));
        if (!QTest::qWaitFor([&] { return ping.isFinished(); }))
            return false;
        QCoreApplication::processEvents();
        return true;
    }
    QStringList requests() const override { return m_portal.members(); }

private:
    QDBusConnection m_portalBus;
    QDBusConnection m_appBus;
    StandInPortal m_portal;
    std::unique_ptr<PortalHotkeyBackend> m_backend;
    bool m_published = false;
};

} // namespace

class tst_HotkeyBackendBehaviour : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrivateSessionBus> m_bus;

    std::unique_ptr<Rig> makeRig(const QString &kind)
    {
        if (kind == u"x11")
            return std::make_unique<X11Rig>();
        if (kind == u"portal")
            return std::make_unique<PortalRig>(*m_bus);
        return std::make_unique<FakeRig>();
    }

    static constexpr std::pair<const char *, const char *> kinds[]
        = {{"fake", "fake"}, {"X11", "x11"}, {"portal", "portal"}};

    void backends()
    {
        QTest::addColumn<QString>("kind");
        for (const auto &[name, kind] : kinds)
            QTest::newRow(name) << QString::fromLatin1(kind);
    }

    /// Registers Alt+` under the drawer's id and waits for the one answer.
    static bool registerAltBacktick(HotkeyBackend &backend, QSignalSpy &finished)
    {
        backend.registerHotkey(drawerId, altBacktick);
        return QTest::qWaitFor([&] { return !finished.isEmpty(); }) && finished.size() == 1
            && finished.at(0).at(0).toString() == drawerId
            && finished.at(0).at(1).value<Result>() == Result::Registered;
    }

    /// How many of \a spy's signals name \a id first.
    static qsizetype countFor(const QSignalSpy &spy, const QString &id)
    {
        return std::count_if(spy.cbegin(), spy.cend(), [&](const QList<QVariant> &arguments) {
            return arguments.at(0).toString() == id;
        });
    }

#define REQUIRE_RIG(rig) \
    if (const QString why = (rig)->unavailable(); !why.isEmpty()) \
        QSKIP(qPrintable(why));

private Q_SLOTS:
    void initTestCase()
    {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        m_bus = std::make_unique<PrivateSessionBus>();
    }
    void cleanupTestCase()
    {
        m_bus.reset();
    }

    void registersAndReportsEachPress_data()
    {
        backends();
    }
    void registersAndReportsEachPress()
    {
        QFETCH(QString, kind);
        const auto rig = makeRig(kind);
        REQUIRE_RIG(rig);
        QSignalSpy finished(&rig->backend(), &HotkeyBackend::registrationFinished);
        QSignalSpy pressed(&rig->backend(), &HotkeyBackend::pressed);
        QVERIFY(registerAltBacktick(rig->backend(), finished));
        QVERIFY(finished.at(0).at(2).toString().isEmpty());

        // The portal's first press of the process reaches the backend too (QtDBus relays a
        // signal only once its parameter types are known by name).
        QVERIFY(rig->pressAltBacktick());
        QTRY_COMPARE(pressed.size(), 1);
        QCOMPARE(pressed.at(0).at(0).toString(), drawerId);
        QVERIFY(rig->pressAltBacktick());
        QTRY_COMPARE(pressed.size(), 2);
        // One press per keystroke, and one answer per registration: presses bring no more.
        QVERIFY(rig->settle());
        QCOMPARE(countFor(pressed, drawerId), 2);
        QCOMPARE(countFor(finished, drawerId), 1);
    }

    void othersPressesAreNotOurs_data()
    {
        backends();
    }
    void othersPressesAreNotOurs()
    {
        QFETCH(QString, kind);
        const auto rig = makeRig(kind);
        REQUIRE_RIG(rig);
        QSignalSpy finished(&rig->backend(), &HotkeyBackend::registrationFinished);
        QVERIFY(registerAltBacktick(rig->backend(), finished));
        QSignalSpy pressed(&rig->backend(), &HotkeyBackend::pressed);
        QVERIFY(rig->pressOtherKeys());
        QVERIFY(rig->settle());
        QCOMPARE(countFor(pressed, drawerId), 0);
    }

    void unregisteredKeyIsSilent_data()
    {
        backends();
    }
    void unregisteredKeyIsSilent()
    {
        QFETCH(QString, kind);
        const auto rig = makeRig(kind);
        REQUIRE_RIG(rig);
        QSignalSpy finished(&rig->backend(), &HotkeyBackend::registrationFinished);
        QVERIFY(registerAltBacktick(rig->backend(), finished));
        rig->backend().unregisterHotkey(drawerId);
        QSignalSpy pressed(&rig->backend(), &HotkeyBackend::pressed);
        QVERIFY(rig->pressAltBacktick());
        QVERIFY(rig->settle());
        QCOMPARE(countFor(pressed, drawerId), 0);
    }

    void keyWithoutANameIsInvalid_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QKeyCombination>("key");
        for (const auto &[name, kind] : kinds) {
            QTest::addRow("%s, key without a keysym", name)
                << QString::fromLatin1(kind) << QKeyCombination(Qt::AltModifier, Qt::Key_Launch0);
            QTest::addRow("%s, modifier no window system grabs", name)
                << QString::fromLatin1(kind)
                << QKeyCombination(Qt::AltModifier | Qt::KeypadModifier, Qt::Key_QuoteLeft);
        }
    }
    void keyWithoutANameIsInvalid()
    {
        QFETCH(QString, kind);
        QFETCH(QKeyCombination, key);
        const auto rig = makeRig(kind);
        REQUIRE_RIG(rig);
        QSignalSpy finished(&rig->backend(), &HotkeyBackend::registrationFinished);
        rig->backend().registerHotkey(drawerId, key);
        // Refused at once, before the window system is asked anything.
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(1).value<Result>(), Result::Invalid);
        // Every failure says why, in words.
        QVERIFY(!finished.at(0).at(2).toString().isEmpty());
        QVERIFY(rig->settle());
        QCOMPARE(rig->requests(), QStringList());
    }
};

int main(int argc, char *argv[])
{
    return runTestWithOptionalXvfb<tst_HotkeyBackendBehaviour>(argc, argv);
}

#include "tst_HotkeyBackendBehaviour.moc"
