// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PortalHotkeyBackend.h"

#include "FakePrompts.h"
#include "PrivateSessionBus.h"
#include "StandInPortal.h"
#include "TestAppState.h"

#include "app/AppState.h"
#include "app/GlobalHotkey.h"
#include "platform/HotkeyKeys.h"
#include "tray/Subsystems.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <optional>

namespace {

using StandIns::portalPath;
const QString successLine
    = QStringLiteral("✅ Global hotkey (Option+Backtick) registered successfully");

} // namespace

// What every backend does (presses reported once, other shortcuts silent, keys it cannot name
// refused) is tst_HotkeyBackendBehaviour's; here is what the portal alone does: its calls and
// their arguments, its answers and failures as the console shows them, kglobalaccel's word.
class tst_PortalHotkeyBackend : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrivateSessionBus> m_bus;
    std::unique_ptr<StandInPortal> m_portal;
    std::unique_ptr<StandInKGlobalAccel> m_kglobalaccel;

    QDBusConnection newConnection() { return m_bus->connect(); }

    StandInPortal &startPortal()
    {
        m_portal = std::make_unique<StandInPortal>(newConnection());
        return *m_portal;
    }

    /// The model as the application makes it, with the portal backend on the test's bus.
    PortalHotkeyBackend *startModel(TestAppState &t, std::chrono::milliseconds timeout = {})
    {
        if (m_portal)
            m_portal->publish();
        auto backend = std::make_unique<PortalHotkeyBackend>(newConnection());
        if (timeout.count() > 0)
            backend->setAnswerTimeout(timeout);
        PortalHotkeyBackend *raw = backend.get();
        AppServices services;
        services.store = std::make_unique<SettingsStore>(t.settingsPath());
        services.notes = std::make_unique<NoteStore>(*services.store);
        services.screens = t.screens;
        services.hotkeys = std::move(backend);
        services.prompts = std::make_unique<FakePrompts>();
        services.console = [&t](const QString &line) { t.lines.append(line); };
        Subsystems::provide(services);
        t.state = std::make_unique<AppState>(std::move(services));
        t.instantSlides();
        return raw;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        m_bus = std::make_unique<PrivateSessionBus>();
    }

    void init() { DBUS_REQUIRE(*m_bus); }

    void cleanup()
    {
        // Closing the stand-in's connection frees the portal's name for the next test.
        m_bus->disconnectAll();
        m_portal.reset();
        m_kglobalaccel.reset();
    }

    void cleanupTestCase() { m_bus.reset(); }

    void triggerNames_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("trigger");

        QTest::newRow("Alt+`") << QKeyCombination(Qt::AltModifier, Qt::Key_QuoteLeft)
                               << QStringLiteral("ALT+grave");
        QTest::newRow("` alone") << QKeyCombination(Qt::Key_QuoteLeft) << QStringLiteral("grave");
        QTest::newRow("Ctrl+Shift+`")
            << QKeyCombination(Qt::ShiftModifier | Qt::ControlModifier, Qt::Key_QuoteLeft)
            << QStringLiteral("CTRL+SHIFT+grave");
        QTest::newRow("Meta+N") << QKeyCombination(Qt::MetaModifier, Qt::Key_N)
                                << QStringLiteral("LOGO+n");
        QTest::newRow("a key without a name")
            << QKeyCombination(Qt::AltModifier, Qt::Key_Launch0) << QString();
        QTest::newRow("keypad modifier")
            << QKeyCombination(Qt::AltModifier | Qt::KeypadModifier, Qt::Key_QuoteLeft)
            << QString();
    }

    void triggerNames()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(QString, trigger);
        QCOMPARE(HotkeyKeys::portalTrigger(key), trigger);
    }

    // The answer comes when the portal responds, after the calls it takes, with their arguments.
    // Also KDE's 5.27, which takes the shortcut from CreateSession and only opens System Settings
    // on BindShortcuts: there it is never called.
    void bindsTheShortcutWhenThePortalAnswers_data()
    {
        QTest::addColumn<bool>("respondsBeforeReply");
        QTest::addColumn<bool>("takesShortcutsAtCreation");
        QTest::newRow("reply, then response") << false << false;
        QTest::newRow("response, then reply") << true << false;
        QTest::newRow("KDE 5.27") << false << true;
    }

    void bindsTheShortcutWhenThePortalAnswers()
    {
        QFETCH(bool, respondsBeforeReply);
        QFETCH(bool, takesShortcutsAtCreation);
        StandInPortal &portal = startPortal();
        portal.respondsBeforeReply = respondsBeforeReply;
        portal.takesShortcutsAtCreation = takesShortcutsAtCreation;
        TestAppState t;
        startModel(t);
        QVERIFY(t.lines.isEmpty());

        QTRY_COMPARE(t.lines, QStringList {successLine});
        if (takesShortcutsAtCreation)
            QCOMPARE(portal.members(), QStringList {QStringLiteral("CreateSession")});
        else
            QCOMPARE(
                portal.members(),
                QStringList({QStringLiteral("CreateSession"), QStringLiteral("BindShortcuts")}));

        const StandInPortal::Call *create = portal.find(QStringLiteral("CreateSession"));
        const auto createOptions = qdbus_cast<QVariantMap>(create->arguments.value(0));
        const QString handleToken = createOptions.value(QStringLiteral("handle_token")).toString();
        // KDE names the shortcut's group after the session token: the same at every start.
        QCOMPARE(createOptions.value(QStringLiteral("session_handle_token")).toString(),
                 QStringLiteral("jotshelf"));
        // Tokens end object paths: letters, digits and underscores only.
        static const QRegularExpression pathElement(QStringLiteral("^[A-Za-z0-9_]+$"));
        QVERIFY(pathElement.match(handleToken).hasMatch());
        const auto offered
            = qdbus_cast<QList<PortalShortcut>>(createOptions.value(QStringLiteral("shortcuts")));
        QCOMPARE(offered.size(), 1);
        QCOMPARE(offered.at(0).id, QStringLiteral("toggle-drawer"));
        QCOMPARE(offered.at(0).properties.value(QStringLiteral("preferred_trigger")).toString(),
                 QStringLiteral("ALT+grave"));
        if (takesShortcutsAtCreation)
            return;

        const StandInPortal::Call *bind = portal.find(QStringLiteral("BindShortcuts"));
        QCOMPARE(bind->path, portalPath);
        QCOMPARE(bind->arguments.size(), 4);
        QCOMPARE(bind->arguments.at(0).value<QDBusObjectPath>().path(), portal.sessionPath);
        const auto shortcuts = qdbus_cast<QList<PortalShortcut>>(bind->arguments.at(1));
        QCOMPARE(shortcuts.size(), 1);
        QCOMPARE(shortcuts.at(0).id, QStringLiteral("toggle-drawer"));
        QCOMPARE(shortcuts.at(0).properties.value(QStringLiteral("description")).toString(),
                 QStringLiteral("Show or hide the Jotshelf notepad"));
        QCOMPARE(shortcuts.at(0).properties.value(QStringLiteral("preferred_trigger")).toString(),
                 QStringLiteral("ALT+grave"));
        QCOMPARE(bind->arguments.at(2).toString(), QString());
        const auto bindOptions = qdbus_cast<QVariantMap>(bind->arguments.at(3));
        const QString bindToken = bindOptions.value(QStringLiteral("handle_token")).toString();
        QVERIFY(!bindToken.isEmpty());
        QVERIFY(bindToken != handleToken);
    }

    void failuresPrintTheReason_data()
    {
        QTest::addColumn<uint>("createResponse");
        QTest::addColumn<uint>("bindResponse");
        QTest::addColumn<bool>("leaveShortcutOut");
        QTest::addColumn<bool>("withoutTrigger");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");

        const QString unknown = QStringLiteral("   Reason: Unknown error");
        QTest::newRow("session cancelled") << 1u << 0u << false << false << -3 << unknown;
        QTest::newRow("session failed") << 2u << 0u << false << false << -3 << unknown;
        QTest::newRow("binding cancelled") << 0u << 1u << false << false << -3 << unknown;
        QTest::newRow("binding failed") << 0u << 2u << false << false << -3 << unknown;
        QTest::newRow("shortcut left out") << 0u << 0u << true << false << -3 << unknown;
        QTest::newRow("bound without a key") << 0u << 0u << false << true << -9868
                                             << QStringLiteral("   Reason: Hotkey already exists");
    }

    void failuresPrintTheReason()
    {
        QFETCH(uint, createResponse);
        QFETCH(uint, bindResponse);
        QFETCH(bool, leaveShortcutOut);
        QFETCH(bool, withoutTrigger);
        QFETCH(int, status);
        QFETCH(QString, reason);

        StandInPortal &portal = startPortal();
        portal.createResponse = createResponse;
        portal.bindResponse = bindResponse;
        if (leaveShortcutOut)
            portal.boundShortcuts = QList<PortalShortcut> {};
        if (withoutTrigger) {
            portal.boundShortcuts
                = QList<PortalShortcut> {{QStringLiteral("toggle-drawer"),
                                          {{QStringLiteral("trigger_description"), QString()}}}};
        }
        TestAppState t;
        startModel(t);
        QSignalSpy notices(t.state.get(), &AppState::noticeRequested);

        QTRY_COMPARE(t.lines.size(), 3);
        QCOMPARE(t.lines.mid(0, 2),
                 QStringList(
                     {QStringLiteral("❌ Failed to register global hotkey. Status: %1").arg(status),
                      reason}));
        QTRY_COMPARE(notices.size(), 1);
        QCOMPARE(notices.at(0).at(0).toString(), GlobalHotkey::takenKeyNoticeTitle());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(notices.size(), 1);

        // A session that was made is closed again, and its presses reach nothing.
        if (createResponse == 0) {
            QTRY_VERIFY(portal.find(QStringLiteral("Close")));
            QCOMPARE(portal.find(QStringLiteral("Close"))->path, portal.sessionPath);
        }
        QCOMPARE(portal.members().count(QStringLiteral("BindShortcuts")),
                 createResponse == 0 ? 1 : 0);
    }

    // Debian 12's GNOME: a portal without the GlobalShortcuts interface; elsewhere no portal.
    void missingPortalFailsAtOnce_data()
    {
        QTest::addColumn<bool>("portalRuns");
        QTest::newRow("no portal on the bus") << false;
        QTest::newRow("portal without GlobalShortcuts") << true;
    }

    void missingPortalFailsAtOnce()
    {
        QFETCH(bool, portalRuns);
        if (portalRuns)
            startPortal().offersShortcuts = false;
        TestAppState t;
        startModel(t);
        QSignalSpy notices(t.state.get(), &AppState::noticeRequested);
        QTRY_COMPARE(t.lines,
                     QStringList({QStringLiteral("❌ Failed to register global hotkey. Status: -1"),
                                  QStringLiteral("   Reason: Unknown error"),
                                  QStringLiteral("   This desktop offers no portal for global "
                                                 "shortcuts.")}));
        QTRY_COMPARE(notices.size(), 1);
    }

    void silentPortalTimesOut()
    {
        StandInPortal &portal = startPortal();
        portal.answers = false;
        TestAppState t;
        startModel(t, std::chrono::milliseconds(300));
        QTRY_COMPARE(t.lines,
                     QStringList({QStringLiteral("❌ Failed to register global hotkey. Status: -4"),
                                  QStringLiteral("   Reason: Unknown error"),
                                  QStringLiteral("   The desktop portal did not answer.")}));
        QCOMPARE(portal.members().first(), QStringLiteral("CreateSession"));
        // The request it gave up on is withdrawn.
        QTRY_VERIFY(portal.find(QStringLiteral("Close")));
    }

    void closesTheSessionWhenTheModelGoes()
    {
        StandInPortal &portal = startPortal();
        TestAppState t;
        startModel(t);
        QTRY_COMPARE(t.lines, QStringList {successLine});
        const QString session = portal.sessionPath;
        t.state.reset();

        QTRY_VERIFY(portal.find(QStringLiteral("Close")));
        QCOMPARE(portal.find(QStringLiteral("Close"))->path, session);
        QCOMPARE(portal.find(QStringLiteral("Close"))->interface,
                 QStringLiteral("org.freedesktop.portal.Session"));
        QCOMPARE(portal.members().count(QStringLiteral("Close")), 1);
    }

    // An answer to a registration already given up is not reported.
    void abandonedRegistrationStaysSilent()
    {
        StandInPortal &portal = startPortal();
        portal.publish();
        PortalHotkeyBackend backend(newConnection());
        QSignalSpy finished(&backend, &HotkeyBackend::registrationFinished);
        const QString id = QStringLiteral("toggle-drawer");
        const QKeyCombination key(Qt::AltModifier, Qt::Key_QuoteLeft);

        backend.registerHotkey(id, key);
        backend.unregisterHotkey(id);
        backend.registerHotkey(id, key);
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(1).value<HotkeyBackend::Result>(),
                 HotkeyBackend::Result::Registered);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(portal.members().count(QStringLiteral("CreateSession")), 2);
        QCOMPARE(portal.members().count(QStringLiteral("BindShortcuts")), 1);
    }

    // The portal says "bound" whoever holds the key; kglobalaccel knows who really does.
    void kglobalaccelTellsWhoHoldsTheKey_data()
    {
        QTest::addColumn<QStringList>("holder");
        QTest::addColumn<QString>("triggerDescription");
        QTest::addColumn<QStringList>("lines");

        const QString taken = QStringLiteral("❌ Failed to register global hotkey. Status: -9868");
        const QString exists = QStringLiteral("   Reason: Hotkey already exists");
        QTest::newRow("KWin keeps Alt+`")
            << QStringList({QStringLiteral("kwin"),
                            QStringLiteral("Walk Through Windows of Current Application"),
                            QStringLiteral("KWin"),
                            QStringLiteral("Walk Through Windows of Current Application")})
            << QStringLiteral("Alt+`")
            << QStringList({taken, exists,
                            QStringLiteral("   The desktop keeps Alt+` for itself (KWin: “Walk "
                                           "Through Windows of Current Application”).")});
        QTest::newRow("ours") << QStringList(
            {QStringLiteral("jotshelf"), QStringLiteral("toggle-drawer"),
             QStringLiteral("jotshelf"), QStringLiteral("Show or hide the Jotshelf notepad")})
                              << QStringLiteral("Alt+`") << QStringList {successLine};
        // A portal that knows the app (its Registry, from 1.19 on) names the group after its id.
        QTest::newRow("ours, by the app id")
            << QStringList({QStringLiteral("io.github.jotshelf.Jotshelf"),
                            QStringLiteral("toggle-drawer"), QStringLiteral("Jotshelf"),
                            QStringLiteral("Show or hide the Jotshelf notepad")})
            << QStringLiteral("Alt+`") << QStringList {successLine};
        QTest::newRow("the user gave it another key")
            << QStringList({QStringLiteral("kwin"), QStringLiteral("Walk"), QStringLiteral("KWin"),
                            QStringLiteral("Walk")})
            << QStringLiteral("Meta+N") << QStringList {successLine};
        QTest::newRow("no key at all")
            << QStringList() << QString()
            << QStringList({taken, exists,
                            QStringLiteral("   The desktop bound no key to the shortcut: another "
                                           "program or the desktop keeps Alt+` for itself.")});
    }

    void kglobalaccelTellsWhoHoldsTheKey()
    {
        QFETCH(QStringList, holder);
        QFETCH(QString, triggerDescription);
        QFETCH(QStringList, lines);
        StandInPortal &portal = startPortal();
        portal.takesShortcutsAtCreation = true;
        portal.boundShortcuts = QList<PortalShortcut> {
            {QStringLiteral("toggle-drawer"),
             {{QStringLiteral("trigger_description"), triggerDescription}}}};
        m_kglobalaccel = std::make_unique<StandInKGlobalAccel>(newConnection());
        m_kglobalaccel->holder = holder;
        QVERIFY(m_kglobalaccel->publish());
        TestAppState t;
        startModel(t);
        QTRY_COMPARE(t.lines, lines);
        QCOMPARE(m_kglobalaccel->askedKeys,
                 QList<int> {QKeyCombination(Qt::AltModifier, Qt::Key_QuoteLeft).toCombined()});
        QCOMPARE(portal.members().count(QStringLiteral("BindShortcuts")), 0);
        QTRY_COMPARE(portal.members().count(QStringLiteral("Close")), lines.size() == 1 ? 0 : 1);
    }
};

QTEST_MAIN(tst_PortalHotkeyBackend)
#include "tst_PortalHotkeyBackend.moc"
