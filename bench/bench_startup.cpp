// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts the real jotshelf binary and Debian's xpad, one after the other, on a private Xvfb with
// a tray (trayer) and a session bus of their own, each with a fresh HOME, and measures:
// - the start: until jotshelf prints its hot-key line, and until each one's tray icon is docked
//   (the tray reparents the icon; this client watches the root window for it);
// - the resident memory after 3 s idle (VmRSS);
// - over the next 10 s of idle: CPU ticks (utime + stime) and voluntary context switches of all
//   threads, that is how often the process woke up;
// - for jotshelf, Alt+` sent through XTest (as `xdotool key alt+grave` does) until the drawer
//   window is mapped, first and again;
// - for jotshelf with a saved 10 MB note of short lines: the start until the hot-key line, and
//   the resident memory after 3 s idle and once the drawer has been shown, beside the same
//   figures with an empty note.
// Prints the median of each figure over the runs.

#include "PrivateSessionBus.h"
#include "StartupProbe.h"
#include "XvfbSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr int defaultRuns = 5;
constexpr int hotkeyToggles = 5;
constexpr int rssAfterMs = 3000;
constexpr int idleMs = 10000;
constexpr int noteRuns = 3;
constexpr qsizetype noteCharacters = 10 * 1024 * 1024;
constexpr int afterShownMs = 1000;

struct Run
{
    double readyMs = -1; // jotshelf: the hot-key line; xpad: none of its own
    double dockedMs = -1;
    double rssKb = -1;
    double ticks = -1;
    double switches = -1;
    double drawerFirstMs = -1;
    double drawerAgainMs = -1;
    double rssShownKb = -1;
};

double median(std::vector<double> values)
{
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v < 0; }),
                 values.end());
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template<typename Field>
double medianOf(const std::vector<Run> &runs, Field field)
{
    std::vector<double> values;
    for (const Run &run : runs)
        values.push_back(run.*field);
    return median(values);
}

// A hidden pad from an earlier session, so that xpad starts as it does every day: no help
// window, no new pad, only its tray icon.
void seedXpad(const QString &home)
{
    const QString folder = home + QStringLiteral("/.config/xpad");
    QDir().mkpath(folder);
    QFile info(folder + QStringLiteral("/info-BENCH"));
    if (info.open(QIODevice::WriteOnly))
        info.write("width 300\nheight 300\nx 0\ny 0\nfollow_font 1\nfollow_color 1\nsticky 0\n"
                   "hidden 1\ncontent content-BENCH\n");
    QFile content(folder + QStringLiteral("/content-BENCH"));
    if (content.open(QIODevice::WriteOnly))
        content.write("shopping list\n");
}

// A saved note of \a characters in short lines, as Jotshelf writes its note file: one quoted
// INI value, line breaks escaped.
void seedJotshelfNote(const QString &home, qsizetype characters)
{
    const QString folder = home + QStringLiteral("/.config/Jotshelf");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/note.conf"));
    if (!file.open(QIODevice::WriteOnly))
        return;
    const QByteArray lines[] = {
        "Meeting notes: the drawer slides in from the right edge.\\n",
        "- remember the backup\\n",
        "12. numbered step of a longer procedure\\n",
    };
    QByteArray value;
    value.reserve(characters + characters / 8 + 64);
    qsizetype count = 0;
    for (int i = 0; count < characters; ++i) {
        const QByteArray &line = lines[i % 3];
        value += line;
        count += line.size() - 1; // the escape "\\n" is one character
    }
    file.write("[General]\nnoteContent=\"" + value + "end\"\n");
}

QProcessEnvironment environmentFor(const XvfbSession &xvfb, const PrivateSessionBus &bus,
                                   const QString &home)
{
    QProcessEnvironment env = xvfb.environment();
    const QString runtime = home + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE",
                             "QT_LOGGING_RULES", "SESSION_MANAGER"})
        env.remove(QString::fromLatin1(name));
    return env;
}

/// One start of \a program: waits for readiness, measures memory and idle, and for jotshelf
/// the hot key. \a timed false only warms the caches.
std::optional<Run> runOnce(StartupProbe &probe, const XvfbSession &xvfb,
                           const PrivateSessionBus &bus, const QString &program, bool isJotshelf,
                           bool timed, qsizetype note = 0)
{
    QTemporaryDir home;
    if (!home.isValid())
        return std::nullopt;
    if (!isJotshelf)
        seedXpad(home.path());
    if (note > 0)
        seedJotshelfNote(home.path(), note);
    const QProcessEnvironment env = environmentFor(xvfb, bus, home.path());

    Run run;
    const std::unique_ptr<StartupProbe::Process> started = probe.start(program, env);
    StartupProbe::Process &process = *started;
    if (!process.isRunning()) {
        std::fprintf(stderr, "bench_startup: %s did not start\n", qPrintable(program));
        return std::nullopt;
    }
    const auto ready
        = [&] { return process.docked() && (!isJotshelf || process.hasLine("Global hotkey")); };
    if (!probe.waitUntil(process, ready, 20000)) {
        std::fprintf(stderr, "bench_startup: %s was not ready within 20 s%s\n", qPrintable(program),
                     process.docked() ? "" : " (its tray icon was never docked)");
        return std::nullopt;
    }
    if (isJotshelf)
        run.readyMs = process.msUntilLine("Global hotkey");
    run.dockedMs = process.msUntilDocked();
    if (!timed && note == 0)
        return run;

    const StartupProbe::TimePoint readyAt = process.readyAt(isJotshelf ? "Global hotkey" : "");
    probe.idleUntil(process, readyAt + std::chrono::milliseconds(rssAfterMs));
    run.rssKb = double(process.rssKb());
    if (note > 0) {
        // With a note: memory once the drawer has shown it, no idle figures.
        if (probe.toggleUntilMapped(process, "Notepad")) {
            probe.idleUntil(process,
                            StartupProbe::Clock::now() + std::chrono::milliseconds(afterShownMs));
            run.rssShownKb = double(process.rssKb());
        }
        return run;
    }
    const StartupProbe::Usage before = process.usage();
    probe.idleUntil(process, StartupProbe::Clock::now() + std::chrono::milliseconds(idleMs));
    const StartupProbe::Usage after = process.usage();
    run.ticks = double(after.ticks - before.ticks);
    run.switches = double(after.voluntarySwitches - before.voluntarySwitches);

    if (isJotshelf) {
        std::vector<double> again;
        for (int i = 0; i < hotkeyToggles; ++i) {
            const std::optional<double> shown = probe.toggleUntilMapped(process, "Notepad");
            if (!shown) {
                std::fprintf(stderr, "bench_startup: Alt+` did not map the drawer\n");
                break;
            }
            if (i == 0) {
                run.drawerFirstMs = *shown;
                probe.idleUntil(
                    process, StartupProbe::Clock::now() + std::chrono::milliseconds(afterShownMs));
                run.rssShownKb = double(process.rssKb());
            } else
                again.push_back(*shown);
            if (!probe.toggleUntilUnmapped(process)) {
                std::fprintf(stderr, "bench_startup: Alt+` did not hide the drawer\n");
                break;
            }
        }
        run.drawerAgainMs = median(again);
    }
    return run;
}

void printRow(bool rows, const char *figure, double value, int decimals, const char *unit,
              const QString &goal, const QString &command)
{
    const QString shown
        = value < 0 ? QStringLiteral("n/a") : QString::number(value, 'f', decimals) + unit;
    if (rows) // a lone backtick would open code in Markdown
        std::printf("| %s | %s | %s | `%s` |\n",
                    qPrintable(QString::fromUtf8(figure).replace(u'`', QStringLiteral("\\`"))),
                    qPrintable(shown), qPrintable(goal), qPrintable(command));
    else
        std::printf("%-58s %12s   %s\n", figure, qPrintable(shown), qPrintable(goal));
}

QString ratio(double ours, double theirs)
{
    if (ours < 0 || theirs <= 0)
        return QStringLiteral("n/a");
    return QStringLiteral("%1× xpad's").arg(ours / theirs, 0, 'f', 2);
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("**missed**");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const bool rows = arguments.contains(QStringLiteral("--rows"));
    int runs = defaultRuns;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--runs")); at > 0)
        runs = std::max(1, arguments.value(at + 1).toInt());
    const QString command = QString::fromLocal8Bit(argv[0]);

    const QString jotshelf = QStringLiteral(JOTSHELF_BINARY);
    const QString xpad = QStandardPaths::findExecutable(QStringLiteral("xpad"));
    const QString trayer = QStandardPaths::findExecutable(QStringLiteral("trayer"));
    if (xpad.isEmpty() || trayer.isEmpty()) {
        std::fprintf(stderr, "bench_startup: needs xpad and trayer (Debian packages)\n");
        return 1;
    }

    XvfbSession xvfb;
    if (!xvfb.isRunning()) {
        std::fprintf(stderr, "bench_startup: %s\n", qPrintable(xvfb.errorString()));
        return 1;
    }
    PrivateSessionBus bus;
    if (!bus.isRunning()) {
        std::fprintf(stderr, "bench_startup: %s\n", qPrintable(bus.errorString()));
        return 1;
    }
    StartupProbe probe(xvfb.display().toLocal8Bit());
    if (!probe.isConnected()) {
        std::fprintf(stderr, "bench_startup: cannot open %s\n", qPrintable(xvfb.display()));
        return 1;
    }

    QProcess tray;
    tray.setProcessEnvironment(xvfb.environment());
    tray.setStandardOutputFile(QProcess::nullDevice());
    tray.setStandardErrorFile(QProcess::nullDevice());
    tray.start(trayer, {QStringLiteral("--edge"), QStringLiteral("top")});
    if (!probe.waitForTray(10000)) {
        std::fprintf(stderr, "bench_startup: trayer took no tray selection\n");
        return 1;
    }

    // The first start of each reads its libraries from disk; the runs after it are the ones a
    // user sees every day (and what the median stands for).
    runOnce(probe, xvfb, bus, jotshelf, true, false);
    runOnce(probe, xvfb, bus, xpad, false, false);
    std::vector<Run> ours;
    std::vector<Run> theirs;
    for (int i = 0; i < runs; ++i) {
        if (auto run = runOnce(probe, xvfb, bus, jotshelf, true, true))
            ours.push_back(*run);
        if (auto run = runOnce(probe, xvfb, bus, xpad, false, true))
            theirs.push_back(*run);
    }
    std::vector<Run> withNote;
    for (int i = 0; i < std::min(runs, noteRuns); ++i) {
        if (auto run = runOnce(probe, xvfb, bus, jotshelf, true, true, noteCharacters))
            withNote.push_back(*run);
    }
    tray.terminate();
    tray.waitForFinished(5000);
    if (ours.empty() || theirs.empty() || withNote.empty())
        return 1;

    const double ready = medianOf(ours, &Run::readyMs);
    const double docked = medianOf(ours, &Run::dockedMs);
    const double rss = medianOf(ours, &Run::rssKb) / 1024;
    const double ticks = medianOf(ours, &Run::ticks);
    const double switches = medianOf(ours, &Run::switches);
    const double shown = medianOf(ours, &Run::rssShownKb) / 1024;
    const double noteReady = medianOf(withNote, &Run::readyMs);
    const double noteRss = medianOf(withNote, &Run::rssKb) / 1024;
    const double noteShown = medianOf(withNote, &Run::rssShownKb) / 1024;
    // Bytes of memory per character of note, beyond the empty note's figure.
    const auto perCharacter = [](double withNoteMiB, double emptyMiB) {
        return (withNoteMiB - emptyMiB) * 1024 * 1024 / double(noteCharacters);
    };
    const double xDocked = medianOf(theirs, &Run::dockedMs);
    const double xRss = medianOf(theirs, &Run::rssKb) / 1024;
    const double xTicks = medianOf(theirs, &Run::ticks);
    const double xSwitches = medianOf(theirs, &Run::switches);

    if (!rows)
        std::printf("Start, memory and idle on a private Xvfb with trayer, median of %d runs "
                    "(%zu of jotshelf, %zu of xpad)\n\n",
                    runs, ours.size(), theirs.size());
    printRow(rows, "Start until \"✅ Global hotkey ...\" is printed", ready, 0, " ms",
             QStringLiteral("%1 (below xpad's docked icon, %2 ms)")
                 .arg(verdict(ready >= 0 && ready < xDocked))
                 .arg(xDocked, 0, 'f', 0),
             command);
    printRow(rows, "Start until the tray icon is docked", docked, 0, " ms",
             QStringLiteral("%1: %2").arg(verdict(docked >= 0 && docked < xDocked),
                                          ratio(docked, xDocked)),
             command);
    printRow(rows, "RSS after 3 s idle", rss, 1, " MiB",
             QStringLiteral("%1: %2").arg(verdict(rss >= 0 && rss < xRss), ratio(rss, xRss)),
             command);
    printRow(rows, "CPU ticks (utime+stime) in 10 s idle", ticks, 0, "",
             QStringLiteral("%1 (0)").arg(verdict(ticks == 0)), command);
    printRow(rows, "Voluntary context switches (all threads) in 10 s idle", switches, 0, "",
             QStringLiteral("%1 (0)").arg(verdict(switches == 0)), command);
    printRow(rows, "Alt+` until the drawer is mapped, first time",
             medianOf(ours, &Run::drawerFirstMs), 1, " ms", QStringLiteral("–"), command);
    printRow(rows, "Alt+` until the drawer is mapped, again", medianOf(ours, &Run::drawerAgainMs),
             1, " ms", QStringLiteral("–"), command);
    printRow(rows, "RSS 1 s after the drawer was first shown", shown, 1, " MiB",
             QStringLiteral("–"), command);
    printRow(rows, "Start with a saved 10 MB note (short lines) until the hot-key line", noteReady,
             0, " ms",
             QStringLiteral("%1 (≤ 1.5× the empty note's): %2×")
                 .arg(verdict(noteReady >= 0 && noteReady <= 1.5 * ready))
                 .arg(noteReady / ready, 0, 'f', 2),
             command);
    printRow(rows, "RSS with a saved 10 MB note, after 3 s idle", noteRss, 1, " MiB",
             QStringLiteral("%1 B/character beyond the empty note's")
                 .arg(perCharacter(noteRss, rss), 0, 'f', 1),
             command);
    printRow(rows, "RSS with a saved 10 MB note, 1 s after the drawer was first shown", noteShown,
             1, " MiB",
             QStringLiteral("%1 (≤ 6 B/character beyond the empty note's): %2")
                 .arg(verdict(perCharacter(noteShown, shown) <= 6))
                 .arg(perCharacter(noteShown, shown), 0, 'f', 1),
             command);
    printRow(rows, "xpad: start until the tray icon is docked", xDocked, 0, " ms",
             QStringLiteral("–"), command);
    printRow(rows, "xpad: RSS after 3 s idle", xRss, 1, " MiB", QStringLiteral("–"), command);
    printRow(rows, "xpad: CPU ticks in 10 s idle", xTicks, 0, "", QStringLiteral("–"), command);
    printRow(rows, "xpad: voluntary context switches in 10 s idle", xSwitches, 0, "",
             QStringLiteral("–"), command);
    return 0;
}
