// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real application on a private X server with a window manager, driven like a user would:
// the global key, the drawer on screen, typing into it, the settings written to disk.
#include "LaunchedJotshelf.h"
#include "XvfbSession.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {
/// The real binary on the display of \a environment with \a home of its own.
class Jotshelf : public LaunchedJotshelf
{
public:
    Jotshelf(const QProcessEnvironment &environment, const QString &home)
        : LaunchedJotshelf(withHome(environment, home), {})
    { }
};

QString run(const QProcessEnvironment &environment, const QString &program,
            const QStringList &arguments)
{
    return runProgram(environment, program, arguments);
}
} // namespace

class tst_EndToEnd : public QObject
{
    Q_OBJECT

    std::unique_ptr<XvfbSession> m_xvfb;
    QProcess m_windowManager;
    QProcess m_tray;
    QString m_xdotool;

    QString xdotool(const QStringList &arguments)
    {
        return run(m_xvfb->environment(), m_xdotool, arguments);
    }

    /// The drawer's window: the one named "Notepad".
    QString drawerWindow()
    {
        return xdotool({"search", "--name", "^Notepad$"}).section('\n', 0, 0);
    }

    /// "x,y wxh" of a window as the X server has it, and whether it is on screen.
    QString geometry(const QString &window)
    {
        const QString info
            = run(m_xvfb->environment(), QStringLiteral("xwininfo"), {"-id", window});
        auto field = [&info](const char *name) {
            const QRegularExpression re(QStringLiteral("%1:\\s*(-?\\d+)").arg(QLatin1String(name)));
            return re.match(info).captured(1);
        };
        const bool viewable = info.contains(QStringLiteral("IsViewable"));
        return QStringLiteral("%1,%2 %3x%4%5")
            .arg(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                 field("Height"), viewable ? QString() : QStringLiteral(" hidden"));
    }

    static QString storedNote(const QString &home) { return LaunchedJotshelf::storedNote(home); }

private Q_SLOTS:
    void initTestCase()
    {
        m_xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (m_xdotool.isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty())
            QSKIP("xdotool and xwininfo are needed (packages xdotool, x11-utils)");
        m_xvfb = std::make_unique<XvfbSession>();
        XVFB_REQUIRE(*m_xvfb);
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (openbox.isEmpty())
            QSKIP("openbox is needed (package openbox)");
        m_windowManager.setProcessEnvironment(m_xvfb->environment());
        m_windowManager.start(openbox, {});
        QVERIFY(m_windowManager.waitForStarted());

        // A tray panel, as on a desktop with one: Jotshelf then starts with its drawer hidden.
        const QString trayer = QStandardPaths::findExecutable(QStringLiteral("trayer"));
        if (trayer.isEmpty())
            QSKIP("trayer is needed (package trayer)");
        m_tray.setProcessEnvironment(m_xvfb->environment());
        m_tray.start(trayer,
                     {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
                      "--height", "24"});
        QVERIFY(m_tray.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!xdotool({"search", "--class", "trayer"}).isEmpty(), 10000);
    }

    void cleanupTestCase()
    {
        if (m_tray.state() != QProcess::NotRunning) {
            m_tray.terminate();
            m_tray.waitForFinished(5000);
        }
        if (m_windowManager.state() != QProcess::NotRunning) {
            m_windowManager.terminate();
            m_windowManager.waitForFinished(5000);
        }
    }

    // The key slides the drawer in to its resting frame, typing reaches the note and continues
    // the list, Ctrl+K appends a link, and the key slides it out again.
    void hotKeyDrawerTypingAndLink()
    {
        QTemporaryDir home;
        Jotshelf app(m_xvfb->environment(), home.path());
        QVERIFY2(app.waitForLine(
                     QStringLiteral("✅ Global hotkey (Option+Backtick) registered successfully")),
                 qPrintable(app.lines().join('\n')));

        xdotool({"key", "alt+grave"});
        QVERIFY(app.waitForLine(QStringLiteral("🎯 HOTKEY TRIGGERED!")));
        QVERIFY(app.waitForLine(QStringLiteral("   Slide animation started!")));
        QStringList lines = app.lines();
        QVERIFY(lines.contains(QStringLiteral("🔄 Animating IN from right:")));
        QVERIFY(lines.contains(QStringLiteral("   Start: (1540.0, 150.0, 400.0, 600.0)")));
        QVERIFY(lines.contains(QStringLiteral("   Final: (1040.0, 150.0, 400.0, 600.0)")));
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = drawerWindow()).isEmpty(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(geometry(window), QStringLiteral("1040,150 400x600"), 10000);

        xdotool({"type", "--delay", "30", "--", "- milk"});
        xdotool({"key", "Return"});
        xdotool({"type", "--delay", "30", "--", "eggs"});
        QTRY_COMPARE_WITH_TIMEOUT(storedNote(home.path()), QStringLiteral("- milk\n- eggs"), 10000);

        // Ctrl+K: the link dialog, then Ctrl+Return inserts at the very end of the note.
        xdotool({"key", "ctrl+k"});
        QString dialog;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(dialog = xdotool({"search", "--onlyvisible", "--name", "^Add Link$"})).isEmpty(),
            10000);
        xdotool({"type", "--delay", "30", "--", "site"});
        xdotool({"key", "Tab"});
        xdotool({"type", "--delay", "30", "--", "https://x.org/a b"});
        xdotool({"key", "ctrl+Return"});
        QTRY_COMPARE_WITH_TIMEOUT(storedNote(home.path()),
                                  QStringLiteral("- milk\n- eggs[site](https://x.org/a b)"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(
            xdotool({"search", "--onlyvisible", "--name", "^Add Link$"}).isEmpty(), 10000);

        // The focus is back in the editor.
        xdotool({"type", "--delay", "30", "--", "!"});
        QTRY_COMPARE_WITH_TIMEOUT(storedNote(home.path()),
                                  QStringLiteral("- milk\n- eggs[site](https://x.org/a b)!"),
                                  10000);

        xdotool({"key", "alt+grave"});
        QVERIFY(app.waitForLine(QStringLiteral("🔄 Animating OUT to right:")));
        QVERIFY(app.lines().contains(QStringLiteral("   End: (1490.0, 150.0, 400.0, 600.0)")));
        QTRY_VERIFY_WITH_TIMEOUT(geometry(window).endsWith(QStringLiteral(" hidden")), 10000);
    }

    // The settings window and the Clear All question keep their size: the window manager offers
    // to close them, neither to resize nor to maximise them. (openbox 3.6 offers minimising on
    // every normal and dialog window whatever its hints, and draws an inert maximise button.)
    void theSettingsWindowAndItsQuestionAreNeitherResizedNorMaximised()
    {
        QTemporaryDir home;
        Jotshelf app(m_xvfb->environment(), home.path());
        QVERIFY(app.waitForLine(QStringLiteral("✅ Global hotkey")));
        run(LaunchedJotshelf::withHome(m_xvfb->environment(), home.path()),
            QStringLiteral(JOTSHELF_BINARY), {"--settings"});
        QString window;
        QString allowed;
        const auto closeOnly = [&](const char *name) {
            window = xdotool({"search", "--onlyvisible", "--name", name}).section('\n', 0, 0);
            allowed = window.isEmpty() ? QString()
                                       : run(m_xvfb->environment(), QStringLiteral("xprop"),
                                             {"-id", window, "_NET_WM_ALLOWED_ACTIONS"});
            return allowed.contains(QStringLiteral("_NET_WM_ACTION_CLOSE"))
                && !allowed.contains(QStringLiteral("_NET_WM_ACTION_RESIZE"))
                && !allowed.contains(QStringLiteral("_NET_WM_ACTION_MAXIMIZE"));
        };
        QTRY_VERIFY2_WITH_TIMEOUT(closeOnly("^Jotshelf Settings$"), qPrintable(allowed), 10000);
        // The Advanced tab, then its "Clear All Data" button.
        const QStringList origin = geometry(window).section(' ', 0, 0).split(',');
        for (const QPoint &offset : {QPoint(345, 77), QPoint(159, 433)})
            xdotool({"mousemove", QString::number(origin.value(0).toInt() + offset.x()),
                     QString::number(origin.value(1).toInt() + offset.y()), "click", "1"});
        QTRY_VERIFY2_WITH_TIMEOUT(closeOnly("^Clear All Data$"), qPrintable(allowed), 10000);
    }

    // Another program holding the key: the registration says so, and the app runs on.
    void aTakenKeyIsReported()
    {
        QTemporaryDir firstHome;
        QTemporaryDir secondHome;
        QTemporaryDir secondRuntime;
        Jotshelf first(m_xvfb->environment(), firstHome.path());
        QVERIFY(first.waitForLine(QStringLiteral("✅ Global hotkey")));

        QProcessEnvironment other = m_xvfb->environment();
        other.insert(QStringLiteral("XDG_RUNTIME_DIR"), secondRuntime.path());
        Jotshelf second(other, secondHome.path());
        QVERIFY(second.waitForLine(QStringLiteral("   Reason: Hotkey already exists")));
        QVERIFY(second.lines().contains(
            QStringLiteral("❌ Failed to register global hotkey. Status: -9868")));
        QCOMPARE(second.process().state(), QProcess::Running);
    }

    // Text typed a moment before SIGTERM is on disk when the app has ended, and comes back.
    void terminationKeepsWhatWasJustTyped()
    {
        QTemporaryDir home;
        {
            Jotshelf app(m_xvfb->environment(), home.path());
            QVERIFY(app.waitForLine(QStringLiteral("✅ Global hotkey")));
            xdotool({"key", "alt+grave"});
            QVERIFY(app.waitForLine(QStringLiteral("   Slide animation started!")));
            QTRY_VERIFY_WITH_TIMEOUT(!drawerWindow().isEmpty(), 10000);
            QTRY_VERIFY_WITH_TIMEOUT(!geometry(drawerWindow()).endsWith(" hidden"), 10000);
            xdotool({"type", "--delay", "10", "--", "last words"});
            ::kill(app.process().processId(), SIGTERM);
            QVERIFY(app.process().waitForFinished(10000));
            QCOMPARE(app.process().exitStatus(), QProcess::NormalExit);
        }
        QCOMPARE(storedNote(home.path()), QStringLiteral("last words"));

        Jotshelf again(m_xvfb->environment(), home.path());
        QVERIFY(again.waitForLine(QStringLiteral("✅ Global hotkey")));
        QTest::qWait(800); // past the savers' pause: what they write back is the loaded note
        QCOMPARE(storedNote(home.path()), QStringLiteral("last words"));
    }
};

QTEST_GUILESS_MAIN(tst_EndToEnd)
#include "tst_EndToEnd.moc"
