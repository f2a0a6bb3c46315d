// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The drawer's window on a real X server under a window manager (openbox): managed, it never
// leaves its screen while it slides, it takes the keyboard from another program when the hot
// key shows it and when it or its link dialog is clicked, and under a compositing manager its
// shadow lies in a margin that takes no clicks.
#include "LaunchedJotshelf.h"
#include "X11TestClient.h"
#include "XvfbSession.h"

#include <QFile>
#include <QMargins>
#include <QRegion>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/shape.h>

namespace {

/// What a compositing manager and a window manager read of a window: its declared frame
/// extents, its input region, the screen's pixels. On a connection of its own.
class Composited
{
public:
    explicit Composited(const QByteArray &display)
        : m_connection(xcb_connect(display.constData(), nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~Composited() { xcb_disconnect(m_connection); }

    xcb_window_t selectionOwner(const char *name)
    {
        const X11TestReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
            m_connection, xcb_get_selection_owner(m_connection, atom(name)), nullptr));
        return owner ? owner->owner : xcb_window_t(XCB_WINDOW_NONE);
    }

    /// _GTK_FRAME_EXTENTS; none when the window does not declare them.
    QMargins frameExtents(xcb_window_t window)
    {
        const X11TestReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, atom("_GTK_FRAME_EXTENTS"), XCB_ATOM_CARDINAL,
                             0, 4),
            nullptr));
        if (!reply || xcb_get_property_value_length(reply.get()) != 16)
            return {};
        const auto *v = static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
        return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
    }

    /// The part of \a window that takes pointer input, in window coordinates.
    QRegion inputRegion(xcb_window_t window)
    {
        const X11TestReply<xcb_shape_get_rectangles_reply_t> reply(xcb_shape_get_rectangles_reply(
            m_connection, xcb_shape_get_rectangles(m_connection, window, XCB_SHAPE_SK_INPUT),
            nullptr));
        QRegion result;
        if (!reply)
            return result;
        const xcb_rectangle_t *rects = xcb_shape_get_rectangles_rectangles(reply.get());
        for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply.get()); ++i)
            result += QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
        return result;
    }

    /// The grey level of the screen at \a point, as the compositing manager shows it.
    int grey(QPoint point)
    {
        const X11TestReply<xcb_get_image_reply_t> image(xcb_get_image_reply(
            m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, std::int16_t(point.x()),
                          std::int16_t(point.y()), 1, 1, ~0u),
            nullptr));
        if (!image || xcb_get_image_data_length(image.get()) < 3)
            return -1;
        const std::uint8_t *bgr = xcb_get_image_data(image.get());
        return (bgr[0] + bgr[1] + bgr[2]) / 3;
    }

private:
    xcb_atom_t atom(const char *name)
    {
        const X11TestReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, std::uint16_t(qstrlen(name)), name),
            nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
};
} // namespace

class tst_DrawerWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<XvfbSession> m_xvfb;
    std::unique_ptr<X11TestClient> m_x;
    QProcess m_windowManager;
    QTemporaryDir m_configDir;
    QString m_xdotool;

    QString xdotool(const QStringList &arguments)
    {
        return runProgram(m_xvfb->environment(), m_xdotool, arguments);
    }

    xcb_window_t findWindow(const QString &name)
    {
        return xdotool({"search", "--name", name}).section('\n', 0, 0).toUInt();
    }

    /// True when \a window stands at \a frame and shows all of it: the slide has ended.
    bool restsAt(xcb_window_t window, const QRect &frame)
    {
        return m_x->rootGeometry(window) == frame
            && runProgram(m_xvfb->environment(), QStringLiteral("xwininfo"),
                          {"-shape", "-id", QString::number(window)})
                   .contains(QStringLiteral("No window shape defined"));
    }

    xcb_window_t activeWindow() { return xdotool({"getactivewindow"}).toUInt(); }

    /// Where \a window stood, sampled until \a done holds (at most 5 s).
    QList<QRect> sampleUntil(xcb_window_t window, const std::function<bool()> &done)
    {
        QList<QRect> samples;
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 5000) {
            // Null once the window is gone: Qt destroys a closed window's native window.
            if (const QRect sample = m_x->rootGeometry(window);
                !sample.isNull() && m_x->isViewable(window))
                samples.append(sample);
            QTest::qWait(2);
        }
        return samples;
    }

    static QString outside(const QList<QRect> &samples, const QRect &screen)
    {
        for (const QRect &sample : samples) {
            if (!screen.contains(sample))
                return QStringLiteral("%1,%2 %3x%4")
                    .arg(sample.x())
                    .arg(sample.y())
                    .arg(sample.width())
                    .arg(sample.height());
        }
        return {};
    }

    /// Another program's window, holding the focus.
    struct Other
    {
        QProcess process;
        xcb_window_t window = 0;
        ~Other()
        {
            process.kill();
            process.waitForFinished(5000);
        }
    };

    void takeFocus(Other &other)
    {
        xdotool({"windowactivate", "--sync", QString::number(other.window)});
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), other.window, 10000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (m_xdotool.isEmpty() || openbox.isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("xmessage")).isEmpty())
            QSKIP(
                "xdotool, openbox and xmessage are needed (packages xdotool, openbox, x11-utils)");
        m_xvfb = std::make_unique<XvfbSession>();
        XVFB_REQUIRE(*m_xvfb);
        m_x = std::make_unique<X11TestClient>(m_xvfb->display().toLocal8Bit());
        QVERIFY(m_x->isConnected());
        // Openbox as installed, except that it gives no new window the focus by itself: the
        // drawer has the keyboard after a slide-in only when it asked for it the right way.
        QFile installed(QStringLiteral("/etc/xdg/openbox/rc.xml"));
        if (!installed.open(QIODevice::ReadOnly))
            QSKIP("openbox's rc.xml is missing");
        QByteArray config = installed.readAll();
        config.replace("<focusNew>yes</focusNew>", "<focusNew>no</focusNew>");
        QFile strict(m_configDir.filePath(QStringLiteral("rc.xml")));
        QVERIFY(strict.open(QIODevice::WriteOnly) && strict.write(config) == config.size());
        strict.close();
        m_windowManager.setProcessEnvironment(m_xvfb->environment());
        m_windowManager.start(openbox, {"--config-file", strict.fileName()});
        QVERIFY(m_windowManager.waitForStarted());
        // The window manager is up once it has announced itself on the root window.
        QTRY_VERIFY_WITH_TIMEOUT(runProgram(m_xvfb->environment(), QStringLiteral("xprop"),
                                            {"-root", "_NET_SUPPORTING_WM_CHECK"})
                                     .contains(QStringLiteral("window id")),
                                 10000);
    }

    void cleanupTestCase()
    {
        m_x.reset();
        if (m_windowManager.state() != QProcess::NotRunning) {
            m_windowManager.terminate();
            m_windowManager.waitForFinished(5000);
        }
    }

    // The window manager keeps managed windows on the screen: the native window stays on it
    // through both slides, while the lines tell the frames beyond the edge. No taskbar entry.
    void theNativeWindowStaysOnTheScreenThroughTheSlides()
    {
        QTemporaryDir home;
        LaunchedJotshelf app(LaunchedJotshelf::withHome(m_xvfb->environment(), home.path()), {});
        // Without a tray the drawer opens by itself at the start.
        QVERIFY2(app.waitForLine(QStringLiteral("   Slide animation started!")),
                 qPrintable(app.lines().join('\n')));
        xcb_window_t drawer = 0;
        QTRY_VERIFY_WITH_TIMEOUT((drawer = findWindow(QStringLiteral("^Notepad$"))) != 0, 10000);
        const QRect resting(1040, 150, 400, 600);
        const QRect screen(0, 0, 1440, 900);
        QList<QRect> in = sampleUntil(drawer, [&] { return restsAt(drawer, resting); });
        QCOMPARE(outside(in, screen), QString());
        QVERIFY(app.lines().contains(QStringLiteral("   Start: (1540.0, 150.0, 400.0, 600.0)")));
        QVERIFY(app.lines().contains(QStringLiteral("   Final: (1040.0, 150.0, 400.0, 600.0)")));
        const QString states = runProgram(m_xvfb->environment(), QStringLiteral("xprop"),
                                          {"-id", QString::number(drawer), "_NET_WM_STATE"});
        QVERIFY2(states.contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR"))
                     && states.contains(QStringLiteral("_NET_WM_STATE_SKIP_PAGER"))
                     && states.contains(QStringLiteral("_NET_WM_STATE_ABOVE")),
                 qPrintable(states));

        xdotool({"key", "alt+grave"});
        QList<QRect> out = sampleUntil(drawer, [&] { return !m_x->isViewable(drawer); });
        QVERIFY(!m_x->isViewable(drawer));
        QCOMPARE(outside(out, screen), QString());
        QVERIFY(app.lines().contains(QStringLiteral("   Current: (1040.0, 150.0, 400.0, 600.0)")));
        QVERIFY(app.lines().contains(QStringLiteral("   End: (1490.0, 150.0, 400.0, 600.0)")));
    }

    // With another program's window in front, the hot key, a click into the drawer and a click
    // into the link dialog each give Jotshelf the keyboard: what is typed lands in the note.
    void theHotKeyAndClicksTakeTheKeyboard()
    {
        QTemporaryDir home;
        LaunchedJotshelf app(LaunchedJotshelf::withHome(m_xvfb->environment(), home.path()), {});
        QVERIFY(app.waitForLine(QStringLiteral("   Slide animation started!")));
        xcb_window_t drawer = 0;
        QTRY_VERIFY_WITH_TIMEOUT((drawer = findWindow(QStringLiteral("^Notepad$"))) != 0, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(m_x->rootGeometry(drawer), QRect(1040, 150, 400, 600), 10000);

        Other other;
        other.process.setProcessEnvironment(m_xvfb->environment());
        other.process.start(QStringLiteral("xmessage"),
                            {"-geometry", "300x100+20+20", "-name", "other", "other"});
        QTRY_VERIFY_WITH_TIMEOUT((other.window = findWindow(QStringLiteral("^other$"))) != 0,
                                 10000);
        takeFocus(other);

        // A click into the drawer.
        xdotool({"mousemove", "1240", "450", "click", "1"});
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), drawer, 10000);
        xdotool({"type", "--delay", "30", "--", "a"});
        QTRY_COMPARE_WITH_TIMEOUT(LaunchedJotshelf::storedNote(home.path()), QStringLiteral("a"),
                                  10000);

        // A click into the link dialog.
        xdotool({"key", "ctrl+k"});
        xcb_window_t dialog = 0;
        QTRY_VERIFY_WITH_TIMEOUT((dialog = findWindow(QStringLiteral("^Add Link$"))) != 0
                                     && m_x->isViewable(dialog),
                                 10000);
        takeFocus(other);
        const QRect area = m_x->rootGeometry(dialog);
        xdotool({"mousemove", QString::number(area.center().x()), QString::number(area.y() + 8),
                 "click", "1"});
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), dialog, 10000);
        xdotool({"type", "--delay", "30", "--", "t"});
        xdotool({"key", "Tab"});
        xdotool({"type", "--delay", "30", "--", "u"});
        xdotool({"key", "ctrl+Return"});
        QTRY_COMPARE_WITH_TIMEOUT(LaunchedJotshelf::storedNote(home.path()),
                                  QStringLiteral("a[t](u)"), 10000);

        // The hot key, with the other window in front.
        xdotool({"key", "alt+grave"});
        QTRY_VERIFY_WITH_TIMEOUT(!m_x->isViewable(drawer), 10000);
        takeFocus(other);
        xdotool({"key", "alt+grave"});
        QTRY_VERIFY_WITH_TIMEOUT((drawer = findWindow(QStringLiteral("^Notepad$"))) != 0, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), drawer, 10000);
        xdotool({"type", "--delay", "30", "--", "!"});
        QTRY_COMPARE_WITH_TIMEOUT(LaunchedJotshelf::storedNote(home.path()),
                                  QStringLiteral("a[t](u)!"), 10000);
    }

    // Two screens side by side: the drawer opens on the pointer's screen, and nothing of its
    // slide shows on the neighbour it slides in from.
    void onTwoScreensTheDrawerOpensOnThePointersScreenAlone()
    {
        const QString xrandr = QStandardPaths::findExecutable(QStringLiteral("xrandr"));
        if (xrandr.isEmpty())
            QSKIP("xrandr is needed (package x11-xserver-utils)");
        const QProcessEnvironment env = m_xvfb->environment();
        runProgram(env, xrandr, {"--setmonitor", "left", "720/190x900/238+0+0", "screen"});
        runProgram(env, xrandr, {"--setmonitor", "right", "720/190x900/238+720+0", "none"});
        auto restore = qScopeGuard([&] {
            runProgram(env, xrandr, {"--delmonitor", "right"});
            runProgram(env, xrandr, {"--delmonitor", "left"});
        });
        if (!runProgram(env, xrandr, {"--listmonitors"}).contains(QStringLiteral("Monitors: 2")))
            QSKIP("this X server does not split its screen into monitors");
        xdotool({"mousemove", "300", "450"});

        QTemporaryDir home;
        LaunchedJotshelf app(LaunchedJotshelf::withHome(env, home.path()), {});
        QVERIFY2(app.waitForLine(QStringLiteral("   Slide animation started!")),
                 qPrintable(app.lines().join('\n')));
        xcb_window_t drawer = 0;
        QTRY_VERIFY_WITH_TIMEOUT((drawer = findWindow(QStringLiteral("^Notepad$"))) != 0, 10000);
        const QRect resting(320, 150, 400, 600);
        QList<QRect> in = sampleUntil(drawer, [&] { return restsAt(drawer, resting); });
        QCOMPARE(m_x->rootGeometry(drawer), resting);
        QCOMPARE(outside(in, QRect(0, 0, 720, 900)), QString());
        QVERIFY2(app.lines().contains(QStringLiteral("   Start: (820.0, 150.0, 400.0, 600.0)")),
                 qPrintable(app.lines().join('\n')));
    }

    // Under a compositing manager the window reaches beyond the frame by a margin that holds
    // the shadow: the frame itself stays where it was, only it takes clicks, window managers
    // learn which part is margin (and picom to add no shadow), and the shadow shows below the
    // frame over what lies behind.
    // When the compositing manager goes, the margin goes with it.
    void underACompositorTheShadowLiesInAMarginThatTakesNoClicks()
    {
        const QString xcompmgr = QStandardPaths::findExecutable(QStringLiteral("xcompmgr"));
        if (xcompmgr.isEmpty())
            QSKIP("xcompmgr is needed (package xcompmgr)");
        Composited screen(m_xvfb->display().toLocal8Bit());
        // Compositing alone: with -c xcompmgr also lays shadows of its own under every window.
        QProcess compositor;
        compositor.setProcessEnvironment(m_xvfb->environment());
        compositor.start(xcompmgr, {});
        auto stop = qScopeGuard([&] {
            compositor.terminate();
            compositor.waitForFinished(5000);
        });
        QTRY_VERIFY_WITH_TIMEOUT(screen.selectionOwner("_NET_WM_CM_S0") != XCB_WINDOW_NONE, 10000);

        QTemporaryDir home;
        LaunchedJotshelf app(LaunchedJotshelf::withHome(m_xvfb->environment(), home.path()), {});
        QVERIFY2(app.waitForLine(QStringLiteral("   Slide animation started!")),
                 qPrintable(app.lines().join('\n')));
        xcb_window_t drawer = 0;
        QTRY_VERIFY_WITH_TIMEOUT((drawer = findWindow(QStringLiteral("^Notepad$"))) != 0, 10000);
        const QRect resting(1040, 150, 400, 600);
        QTRY_COMPARE_WITH_TIMEOUT(
            m_x->rootGeometry(drawer).marginsRemoved(screen.frameExtents(drawer)), resting, 10000);
        const QRect window = m_x->rootGeometry(drawer);
        const QMargins margin = screen.frameExtents(drawer);
        // Around the frame but at the screen's right edge, deepest below it.
        QVERIFY2(margin.left() > 0 && margin.top() > 0 && margin.right() == 0
                     && margin.bottom() > margin.top(),
                 qPrintable(QStringLiteral("%1 %2 %3 %4")
                                .arg(margin.left())
                                .arg(margin.top())
                                .arg(margin.right())
                                .arg(margin.bottom())));
        // picom, whatever its rules, adds no shadow to the one the window draws.
        const auto noShadow = [&] {
            return runProgram(m_xvfb->environment(), QStringLiteral("xprop"),
                              {"-id", QString::number(drawer), "_COMPTON_SHADOW"});
        };
        QVERIFY2(noShadow().endsWith(QStringLiteral("= 0")), qPrintable(noShadow()));
        // The input region follows the frame in through the slide; at rest it is the frame.
        QTRY_COMPARE_WITH_TIMEOUT(screen.inputRegion(drawer),
                                  QRegion(resting.translated(-window.topLeft())), 5000);
        QVERIFY(app.lines().contains(QStringLiteral("   Final: (1040.0, 150.0, 400.0, 600.0)")));

        // xcompmgr shows grey where nothing is: the shadow darkens it just below the frame, and
        // the margin's far end lets it through.
        const int background = screen.grey(QPoint(resting.center().x(), window.bottom() + 20));
        const int below = screen.grey(QPoint(resting.center().x(), resting.bottom() + 6));
        const int farEnd = screen.grey(QPoint(window.left(), resting.center().y()));
        QVERIFY2(below < background - 10 && below > background / 2 && farEnd >= background - 2,
                 qPrintable(QStringLiteral("background %1, below the frame %2, margin's end %3")
                                .arg(background)
                                .arg(below)
                                .arg(farEnd)));

        stop.dismiss();
        compositor.terminate();
        QVERIFY(compositor.waitForFinished(5000));
        QTRY_VERIFY_WITH_TIMEOUT(restsAt(drawer, resting), 10000);
        QCOMPARE(screen.frameExtents(drawer), QMargins());
        QVERIFY2(noShadow().contains(QStringLiteral("not found")), qPrintable(noShadow()));
        QCOMPARE(screen.inputRegion(drawer), QRegion(QRect(QPoint(0, 0), resting.size())));
    }
};

QTEST_GUILESS_MAIN(tst_DrawerWindow)
#include "tst_DrawerWindow.moc"
