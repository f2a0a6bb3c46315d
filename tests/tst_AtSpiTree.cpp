// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real application read as a screen reader reads it: over AT-SPI (at-spi2-core's bus on a
// private session bus, Qt's bridge switched on), on a private X server. atspi_walk.py walks the
// tree with pyatspi, presses a tab button and Tab; this test reads what it found.
#include "LaunchedJotshelf.h"
#include "PrivateSessionBus.h"
#include "XvfbSession.h"

#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <utility>

namespace {
const QString binary = QStringLiteral(JOTSHELF_BINARY);
const QString busLauncher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
// Debian's own Python, where python3-pyatspi lives (not one a user put first on the PATH).
const QString python = QStringLiteral("/usr/bin/python3");

/// One accessible object: "role | name | description | value | selected".
struct Node
{
    QString path;
    QString role;
    QString name;
    QString description;
    QString value;
    QString selected;
};

/// The parent path of \a path and the node's index in it.
std::pair<QString, int> split(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return {path.left(slash), path.mid(slash + 1).toInt()};
}
} // namespace

class tst_AtSpiTree : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theWindowsReadAsTheyShow();
};

// Both windows are announced as windows with their titles; the drawer's editor is "Note";
// "Settings" and the section titles are headings; the tabs a page tab list of page tabs, the
// open one selected; slider values are spoken with their units; a closed link dialog is gone;
// every control has a name and a description; each slider reads the number its value text
// shows; the colour wells name their colours, the key badge reads "Alt plus backtick"; divider
// lines are separators; Tab walks the settings window in reading order and comes round; a
// switch toggled by assistive technology changes its setting. And the settings window asks the
// window manager for a close button only.
void tst_AtSpiTree::theWindowsReadAsTheyShow()
{
    if (!QFileInfo::exists(busLauncher) || !QFileInfo::exists(python)
        || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("at-spi2-core, python3-pyatspi and xdotool are needed");
    XvfbSession xvfb;
    XVFB_REQUIRE(xvfb);
    PrivateSessionBus bus;
    DBUS_REQUIRE(bus);
    QTemporaryDir home;
    QProcessEnvironment env = xvfb.environment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));

    QProcess launcher;
    launcher.setProcessEnvironment(env);
    launcher.start(busLauncher, {QStringLiteral("--launch-immediately")});
    QVERIFY(launcher.waitForStarted());
    auto stopLauncher = qScopeGuard([&] {
        launcher.terminate();
        launcher.waitForFinished(5000);
    });
    QDBusConnection client = bus.connect(QStringLiteral("atspi-test"));
    QTRY_VERIFY_WITH_TIMEOUT(
        client.interface()->isServiceRegistered(QStringLiteral("org.a11y.Bus")).value(), 10000);

    // Without a tray the drawer opens at the start.
    LaunchedJotshelf app(env, {});
    QVERIFY2(app.waitForLine(QStringLiteral("   Slide animation started!")),
             qPrintable(app.lines().join('\n')));
    // The link dialog, opened and closed, leaves nothing in the tree.
    runProgram(env, QStringLiteral("xdotool"), {"key", "--delay", "100", "ctrl+k"});
    QTRY_VERIFY_WITH_TIMEOUT(
        !runProgram(env, QStringLiteral("xdotool"), {"search", "--name", "^Add Link$"}).isEmpty(),
        10000);
    runProgram(env, QStringLiteral("xdotool"), {"key", "--delay", "100", "Escape"});
    runProgram(env, binary, {QStringLiteral("--settings")});

    // The window manager is asked for a close button alone: Motif functions move, resize
    // (refused by the fixed size) and close, no minimise (8) or maximise (16).
    const QString settingsWindow
        = runProgram(env, QStringLiteral("xdotool"), {"search", "--name", "^Jotshelf Settings$"})
              .section('\n', 0, 0);
    const QString hints
        = runProgram(env, QStringLiteral("xprop"), {"-id", settingsWindow, "_MOTIF_WM_HINTS"});
    // flags, functions, decorations, ...: functions given, and close without minimise/maximise.
    const QStringList fields = hints.section('=', 1).split(',', Qt::SkipEmptyParts);
    bool read = fields.size() >= 2;
    const uint flags = read ? fields[0].trimmed().toUInt(&read, 16) : 0;
    const uint functions = read ? fields[1].trimmed().toUInt(&read, 16) : 0;
    QVERIFY2(read && (flags & 1) && (functions & 32) && !(functions & (8 | 16)), qPrintable(hints));

    QProcess walk;
    walk.setProcessEnvironment(env);
    walk.start(python, {QStringLiteral(ATSPI_WALK), QStringLiteral("40")});
    QVERIFY(walk.waitForFinished(60000));
    const QStringList lines
        = QString::fromUtf8(walk.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QVERIFY2(walk.exitCode() == 0, walk.readAllStandardError().constData());

    QList<Node> nodes;
    QHash<QString, Node> byPath;
    QStringList focus;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("focus "))) {
            focus << line.mid(6);
            continue;
        }
        const QStringList parts = line.mid(5).split(QStringLiteral(" | "));
        QCOMPARE(parts.size(), 6);
        const Node node {parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]};
        nodes << node;
        byPath.insert(node.path, node);
    }
    auto find = [&](const QString &role, const QString &name) {
        for (const Node &node : std::as_const(nodes))
            if (node.role == role && node.name == name)
                return node;
        return Node();
    };

    QVERIFY(!find(QStringLiteral("frame"), QStringLiteral("Jotshelf Settings")).path.isEmpty());
    QVERIFY(!find(QStringLiteral("frame"), QStringLiteral("Notepad")).path.isEmpty());
    QVERIFY(!find(QStringLiteral("text"), QStringLiteral("Note")).description.isEmpty());
    QVERIFY(!find(QStringLiteral("label"), QStringLiteral("Alt plus backtick")).path.isEmpty());
    QVERIFY(!find(QStringLiteral("push button"),
                  QStringLiteral("Background: black (#000000), 30% opaque"))
                 .path.isEmpty());
    QVERIFY(!find(QStringLiteral("push button"), QStringLiteral("Text Color: white (#ffffff)"))
                 .path.isEmpty());

    // Headings, a page tab list of page tabs with the open one selected; the link dialog gone.
    for (const char *heading : {"Settings", "Window Size", "Text Formatting", "Global Hotkey"})
        QVERIFY2(!find(QStringLiteral("heading"), QLatin1String(heading)).path.isEmpty(), heading);
    const Node tabList = find(QStringLiteral("page tab list"), QStringLiteral("Settings pages"));
    QVERIFY(!tabList.path.isEmpty());
    QStringList tabs;
    for (const Node &node : std::as_const(nodes))
        if (node.role == QLatin1String("page tab"))
            tabs << QStringLiteral("%1 %2 %3")
                        .arg(node.path.section('/', 0, 0), node.name, node.selected);
    QCOMPARE(tabs,
             QStringList({"Appearance Appearance selected", "Appearance Behavior unselected",
                          "Appearance Advanced unselected", "Behavior Appearance unselected",
                          "Behavior Behavior selected", "Behavior Advanced unselected"}));
    QVERIFY(find(QStringLiteral("dialog"), QStringLiteral("Add Link")).path.isEmpty());
    QVERIFY(find(QStringLiteral("text"), QStringLiteral("Link Text")).path.isEmpty());

    int sliders = 0;
    int separators = 0;
    for (const Node &node : std::as_const(nodes)) {
        // A window's role belongs to windows alone: the settings window's two.
        QVERIFY2(node.role != QLatin1String("frame") || !node.name.isEmpty(),
                 qPrintable(node.path));
        separators += node.role == QLatin1String("separator");
        const bool control = node.role == QLatin1String("push button")
            || node.role == QLatin1String("check box") || node.role == QLatin1String("slider");
        if (!control)
            continue;
        QVERIFY2(!node.name.isEmpty() && !node.description.isEmpty(), qPrintable(node.path));
        if (node.role != QLatin1String("slider"))
            continue;
        // Spoken with the unit: "400 pixels", "100 percent".
        QVERIFY2(node.description.endsWith(QStringLiteral(": %1 pixels").arg(node.value))
                     || node.description.endsWith(QStringLiteral(": %1 percent").arg(node.value)),
                 qPrintable(node.description));
        // The value text beside the slider ("400 px", "85%") begins with the number read.
        ++sliders;
        const auto [parent, index] = split(node.path);
        const Node text = byPath.value(QStringLiteral("%1/%2").arg(parent).arg(index + 1));
        QVERIFY2(
            text.role == QLatin1String("label")
                && (text.name.startsWith(node.value + QLatin1Char(' '))
                    || text.name.startsWith(node.value + QLatin1Char('%'))),
            qPrintable(
                QStringLiteral("%1 reads %2 beside \"%3\"").arg(node.name, node.value, text.name)));
    }
    QCOMPARE(sliders, 4);
    // Two dividers in each of the two readings of the settings window.
    QCOMPARE(separators, 4);

    // The Behavior tab is open; its "Change" button is disabled and skipped. The walk starts
    // where the tab button left the focus: read the round from the close control.
    const qsizetype close = focus.indexOf(QStringLiteral("push button | Close"));
    QVERIFY2(close >= 0, qPrintable(focus.join('\n')));
    focus = focus.mid(close) + focus.first(close);
    QCOMPARE(focus,
             QStringList({"push button | Close", "page tab | Appearance", "page tab | Behavior",
                          "page tab | Advanced", "check box | Auto-format bullets (• → • )",
                          "check box | Auto-format numbers (1. → 2. )",
                          "check box | Auto-format dashes (- → - )",
                          "check box | Smart link insertion (Ctrl+K)",
                          "push button | Reset to Defaults", "push button | Done"}));

    // A switch toggled by its action, not clicked, changes the setting it shows.
    const QString settings = home.filePath(QStringLiteral(".config/Jotshelf/Jotshelf.conf"));
    QTRY_COMPARE_WITH_TIMEOUT(
        QSettings(settings, QSettings::IniFormat).value(QStringLiteral("autoFormatDashes")),
        QVariant(QStringLiteral("false")), 10000);
}

QTEST_GUILESS_MAIN(tst_AtSpiTree)
#include "tst_AtSpiTree.moc"
