// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PlatformChoice.h"

#include "platform/CompositorOutput.h"
#include "platform/PortalHotkeyBackend.h"

#include <QTest>

using PlatformChoice::HotkeyBackendKind;
using PlatformChoice::Session;

Q_DECLARE_METATYPE(HotkeyBackendKind)

class tst_PlatformChoice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sessionAndPlatform_data()
    {
        QTest::addColumn<QString>("sessionType");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("x11Display");
        QTest::addColumn<QString>("qtPlatform");
        QTest::addColumn<QString>("platformOption"); // CommandLine::platform()
        QTest::addColumn<bool>("wayland");
        QTest::addColumn<bool>("throughXWayland");

        const QString wl = QStringLiteral("wayland-0");
        const QString x = QStringLiteral(":0");
        // clang-format off
        QTest::newRow("X11 session")
            << "x11" << "" << x << "" << "" << false << false;
        QTest::newRow("X11 session, stray Wayland display")
            << "x11" << wl << x << "" << "" << false << false;
        QTest::newRow("Wayland session with XWayland")
            << "wayland" << wl << x << "" << "" << true << true;
        QTest::newRow("Wayland session spelt in capitals")
            << "Wayland" << wl << x << "" << "" << true << true;
        QTest::newRow("Wayland session without XWayland")
            << "wayland" << wl << "" << "" << "" << true << false;
        QTest::newRow("compositor started from a console")
            << "tty" << wl << x << "" << "" << true << true;
        QTest::newRow("no session type, X only")
            << "" << "" << x << "" << "" << false << false;
        QTest::newRow("user chose wayland by the environment")
            << "wayland" << wl << x << "wayland" << "" << true << false;
        QTest::newRow("user chose by -platform")
            << "wayland" << wl << x << "" << "wayland" << true << false;
        // clang-format on
    }

    void sessionAndPlatform()
    {
        QFETCH(QString, sessionType);
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, x11Display);
        QFETCH(QString, qtPlatform);
        QFETCH(QString, platformOption);
        QFETCH(bool, wayland);
        QFETCH(bool, throughXWayland);

        const Session session {sessionType, waylandDisplay, x11Display, qtPlatform};
        QCOMPARE(PlatformChoice::isWaylandSession(session), wayland);
        QCOMPARE(PlatformChoice::shouldRunThroughXWayland(session, platformOption),
                 throughXWayland);
    }

    void hotkeyBackend_data()
    {
        QTest::addColumn<QString>("sessionType");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("qtPlatform");
        QTest::addColumn<HotkeyBackendKind>("kind");

        const QString wl = QStringLiteral("wayland-0");
        // clang-format off
        QTest::newRow("X11 session on xcb") << "x11" << "" << "xcb" << HotkeyBackendKind::X11;
        QTest::newRow("Wayland session through XWayland")
            << "wayland" << wl << "xcb" << HotkeyBackendKind::Portal;
        QTest::newRow("Wayland session, native")
            << "wayland" << wl << "wayland" << HotkeyBackendKind::Portal;
        QTest::newRow("console compositor through XWayland")
            << "tty" << wl << "xcb" << HotkeyBackendKind::Portal;
        QTest::newRow("no X11 connection") << "x11" << "" << "offscreen" << HotkeyBackendKind::Portal;
        // clang-format on
    }

    void hotkeyBackend()
    {
        QFETCH(QString, sessionType);
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, qtPlatform);
        QFETCH(HotkeyBackendKind, kind);
        const Session session {sessionType, waylandDisplay, QStringLiteral(":0"), QString()};
        QCOMPARE(PlatformChoice::hotkeyBackendFor(session, qtPlatform), kind);
    }

    // Tests run on the offscreen platform, where no X11 grab can work.
    void offscreenGetsThePortal()
    {
        const auto backend = PlatformChoice::createHotkeyBackend();
        QVERIFY(qobject_cast<PortalHotkeyBackend *>(backend.get()));
    }

    void preferXcbSetsThePlatformBeforeTheApplication()
    {
        const QByteArray saved[]
            = {qgetenv("XDG_SESSION_TYPE"), qgetenv("DISPLAY"), qgetenv("QT_QPA_PLATFORM")};
        qputenv("XDG_SESSION_TYPE", "wayland");
        qputenv("DISPLAY", ":7");
        qunsetenv("QT_QPA_PLATFORM");
        const bool chose = PlatformChoice::preferXcbOnWayland(QString());
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        // A platform chosen stays chosen.
        qputenv("QT_QPA_PLATFORM", "wayland");
        const bool choseAgain = PlatformChoice::preferXcbOnWayland(QString());
        const QByteArray kept = qgetenv("QT_QPA_PLATFORM");

        const char *names[] = {"XDG_SESSION_TYPE", "DISPLAY", "QT_QPA_PLATFORM"};
        for (int i = 0; i < 3; ++i) {
            if (saved[i].isNull())
                qunsetenv(names[i]);
            else
                qputenv(names[i], saved[i]);
        }
        QVERIFY(chose);
        QCOMPARE(platform, QByteArray("xcb"));
        QVERIFY(!choseAgain);
        QCOMPARE(kept, QByteArray("wayland"));
    }

    // The output the compositor calls active, read from its own answers: sway 1.10's
    // GET_OUTPUTS (the focused one is the second, not the first nor the disabled one), and
    // KWin's support information, for where that output lies (its next screen's block left out).
    void theCompositorsActiveOutputIsRead()
    {
        const QByteArray outputs = R"([
            {"name": "HEADLESS-1", "active": true, "focused": false,
             "rect": {"x": 0, "y": 0, "width": 1440, "height": 900}},
            {"name": "HDMI-A-1", "active": false, "rect": {"x": 0, "y": 0, "width": 0, "height": 0}},
            {"name": "HEADLESS-2", "active": true, "focused": true,
             "rect": {"x": 1440, "y": 0, "width": 1440, "height": 900}}])";
        const auto focused = CompositorOutput::focusedInSwayOutputs(outputs);
        QVERIFY(focused);
        QCOMPARE(focused->name, QStringLiteral("HEADLESS-2"));
        QCOMPARE(focused->rect, QRect(1440, 0, 1440, 900));
        QVERIFY(!CompositorOutput::focusedInSwayOutputs(R"([{"name": "HEADLESS-1"}])"));
        QVERIFY(!CompositorOutput::focusedInSwayOutputs("not json"));

        const QString kwin = QStringLiteral("Screens\n=======\nActive screen follows mouse:  yes\n"
                                            "Screen 0:\n---------\nName: Virtual-0\nEnabled: 1\n"
                                            "Geometry: 0,0,1280x800\nScale: 1\n"
                                            "Screen 1:\n---------\nName: Virtual-1\nEnabled: 1\n"
                                            "Geometry: 1280,0,1280x800\nScale: 1\n"
                                            "Screen 2:\n---------\nName: Virtual-2\nEnabled: 0\n");
        QCOMPARE(CompositorOutput::rectInKWinSupportInformation(kwin, QStringLiteral("Virtual-1")),
                 QRect(1280, 0, 1280, 800));
        QCOMPARE(CompositorOutput::rectInKWinSupportInformation(kwin, QStringLiteral("Virtual-2")),
                 QRect());
    }
};

QTEST_MAIN(tst_PlatformChoice)
#include "tst_PlatformChoice.moc"
