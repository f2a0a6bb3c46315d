// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/DesktopNotifier.h"

#include "FakeHotkeyBackend.h"
#include "FakePrompts.h"
#include "PrivateSessionBus.h"

#include "FixedScreenSource.h"
#include "app/GlobalHotkey.h"
#include "tray/JotshelfApp.h"
#include "tray/Subsystems.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

/// The bus the whole test runs on as its session bus; made before the application.
PrivateSessionBus *sessionBus = nullptr;

/// A stand-in notification server: records each notification it is sent.
class StandInNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notification
    {
        QString appName;
        uint replacesId = 0;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int expireTimeout = 0;
    };

    QList<Notification> received;

public Q_SLOTS:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon,
                const QString &summary, const QString &body, const QStringList &actions,
                const QVariantMap &hints, int expireTimeout)
    {
        received.append(
            {appName, replacesId, appIcon, summary, body, actions, hints, expireTimeout});
        return uint(received.size());
    }
};

} // namespace

class tst_DesktopNotifier : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<StandInNotifications> m_server;

    static QDBusConnection newConnection() { return sessionBus->connect(); }

    StandInNotifications &startServer()
    {
        m_server = std::make_unique<StandInNotifications>();
        QDBusConnection bus = newConnection();
        bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), m_server.get(),
                           QDBusConnection::ExportAllSlots);
        bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
        return *m_server;
    }

    std::unique_ptr<JotshelfApp> makeApp(HotkeyBackend::Result hotkeyAnswer)
    {
        auto hotkeys = std::make_unique<FakeHotkeyBackend>();
        hotkeys->answer = hotkeyAnswer;
        AppServices services;
        services.store
            = std::make_unique<SettingsStore>(m_dir.filePath(QStringLiteral("Jotshelf.conf")));
        services.notes = std::make_unique<NoteStore>(*services.store);
        services.screens = std::make_shared<FixedScreenSource>(QRectF(0, 0, 1440, 900),
                                                               QRectF(0, 75, 1440, 800));
        services.hotkeys = std::move(hotkeys);
        services.prompts = std::make_unique<FakePrompts>();
        services.console = [](const QString &) {};
        Subsystems::provide(services);
        return std::make_unique<JotshelfApp>(std::move(services));
    }

private Q_SLOTS:
    void init()
    {
        DBUS_REQUIRE(*sessionBus);
        // The application's own notifier works on the session bus: it has to be the test's.
        const QString probe = QStringLiteral("org.jotshelf.Probe.p%1").arg(getpid());
        QVERIFY(newConnection().registerService(probe));
        QVERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(probe));
    }

    void cleanup()
    {
        sessionBus->disconnectAll();
        m_server.reset();
    }

    void notifySendsTheNotice()
    {
        StandInNotifications &server = startServer();
        DesktopNotifier notifier(newConnection());
        QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);
        notifier.notify(QStringLiteral("Title"), QStringLiteral("Message"));

        QTRY_COMPARE(delivered.size(), 1);
        QCOMPARE(delivered.at(0).at(0).toBool(), true);
        QCOMPARE(server.received.size(), 1);
        const StandInNotifications::Notification &sent = server.received.at(0);
        QCOMPARE(sent.appName, QStringLiteral("Jotshelf"));
        QCOMPARE(sent.replacesId, 0u);
        QCOMPARE(sent.appIcon, QStringLiteral("io.github.jotshelf.Jotshelf"));
        QCOMPARE(sent.summary, QStringLiteral("Title"));
        QCOMPARE(sent.body, QStringLiteral("Message"));
        QVERIFY(sent.actions.isEmpty());
        QCOMPARE(sent.hints.value(QStringLiteral("desktop-entry")).toString(),
                 QStringLiteral("io.github.jotshelf.Jotshelf"));
        QCOMPARE(sent.expireTimeout, -1);
    }

    void withoutAServerNothingIsDelivered()
    {
        DesktopNotifier notifier(newConnection());
        QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);
        notifier.notify(QStringLiteral("Title"), QStringLiteral("Message"));
        QTRY_COMPARE(delivered.size(), 1);
        QCOMPARE(delivered.at(0).at(0).toBool(), false);
    }

    // The key is refused while the model is still being made, before the application listens;
    // with no tray on this platform the notice goes out as a desktop notification, once.
    void takenKeyWithoutTrayNotifiesOnce()
    {
        StandInNotifications &server = startServer();
        auto app = makeApp(HotkeyBackend::Result::Taken);
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());

        QTRY_COMPARE(server.received.size(), 1);
        const StandInNotifications::Notification &sent = server.received.at(0);
        QCOMPARE(sent.appName, QStringLiteral("Jotshelf"));
        QCOMPARE(sent.appIcon, QStringLiteral("io.github.jotshelf.Jotshelf"));
        QCOMPARE(sent.summary, GlobalHotkey::takenKeyNoticeTitle());
        QVERIFY(sent.summary.contains(QStringLiteral("Alt+`")));
        QVERIFY(sent.body.contains(QStringLiteral("jotshelf --toggle")));

        // The model's own registration answering again tells the user nothing new.
        app->appState().setupGlobalHotkey();
        DesktopNotifier marker;
        QSignalSpy delivered(&marker, &DesktopNotifier::delivered);
        QCoreApplication::sendPostedEvents();
        marker.notify(QStringLiteral("marker"), QString());
        QTRY_COMPARE(delivered.size(), 1);
        QCOMPARE(server.received.size(), 2);
        QCOMPARE(server.received.at(1).summary, QStringLiteral("marker"));
    }

    void registeredKeyNotifiesNothing()
    {
        StandInNotifications &server = startServer();
        auto app = makeApp(HotkeyBackend::Result::Registered);
        // Whatever the start queued has gone out on the session bus before the marker does.
        QCoreApplication::sendPostedEvents();
        DesktopNotifier marker;
        QSignalSpy delivered(&marker, &DesktopNotifier::delivered);
        marker.notify(QStringLiteral("marker"), QString());
        QTRY_COMPARE(delivered.size(), 1);
        QCOMPARE(server.received.size(), 1);
        QCOMPARE(server.received.at(0).summary, QStringLiteral("marker"));
    }
};

// The session bus is the test's own from the start, before anything of Qt can reach the real
// one: the application's notices go where the stand-in listens.
int main(int argc, char *argv[])
{
    PrivateSessionBus bus;
    sessionBus = &bus;
    bus.serveAsSessionBus();
    QApplication application(argc, argv);
    tst_DesktopNotifier test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_DesktopNotifier.moc"
