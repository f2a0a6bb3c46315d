// Times the save of a note of 1 MB and 10 MB as the application makes it: the note saver's
// pause ends, the note is handed to the note file's background thread, and the write is on disk
// (written, synced and renamed into place) when the store reports it. Beside the total, a 1 ms
// heartbeat timer on the main thread measures the longest time the main thread was blocked
// while the save ran, once with nothing else going on and once with a keystroke typed into the
// model while the note is being written (the background write still holds the note then).
// Last, the first keystroke after the save is done: nothing may still hold the note then, or
// that keystroke copies the whole note.

#include "TestAppState.h"

#include "app/AppState.h"
#include "app/Persistence.h"
#include "app/SettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int runs = 5;

QString makeNote(qsizetype characters, int variant)
{
    const QStringList lines = {
        QStringLiteral("Meeting notes: the drawer slides in from the right edge.\n"),
        QStringLiteral("• ask about the release date\n"),
        QStringLiteral("- remember the backup\n"),
        QStringLiteral("12. numbered step of a longer procedure\n"),
    };
    QString note = QStringLiteral("version %1\n").arg(variant);
    note.reserve(characters);
    for (qsizetype i = 0; note.size() < characters; ++i)
        note += lines.at(i % lines.size());
    note.truncate(characters);
    return note;
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

struct Save
{
    double totalMs = 0;
    double longestBlockMs = 0;
    double editMs = 0; // the keystroke typed while the note is written; 0 when none
};

/// One save of the note \a state holds now, from the saver's pause ending until the store
/// reports the note file written; with \a typeDuring, one character is appended to the note
/// at the first heartbeat after the write began.
Save timeSave(AppState &state, bool typeDuring)
{
    SettingsStore &store = state.userDefaults();
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 longest = 0;
    qint64 started = -1;
    qint64 finished = -1;
    qint64 edit = 0;
    bool typed = !typeDuring;

    QEventLoop loop;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, &loop, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
        if (started >= 0 && !typed) {
            typed = true;
            QElapsedTimer keystroke;
            keystroke.start();
            state.replaceNoteRange(state.noteContent().size(), 0, u"x");
            edit = keystroke.nsecsElapsed();
        }
    });
    const auto handedOver = QObject::connect(&state.persistence(), &Persistence::keyWritten, &loop,
                                             [&](const QString &key, bool) {
                                                 if (key == SettingsStore::noteKey && started < 0)
                                                     started = clock.nsecsElapsed();
                                             });
    const auto written = QObject::connect(
        &store, &SettingsStore::writeFinished, &loop, [&](const QString &path, bool ok) {
            if (path == store.noteFilePath() && started >= 0 && finished < 0) {
                if (!ok)
                    std::fprintf(stderr, "bench_save: the note could not be written\n");
                finished = clock.nsecsElapsed();
                // One more beat, so that a block right at the end is seen too.
                QTimer::singleShot(2, &loop, &QEventLoop::quit);
            }
        });
    heartbeat.start();
    loop.exec();
    heartbeat.stop();
    QObject::disconnect(handedOver);
    QObject::disconnect(written);
    return {double(finished - started) / 1e6, double(longest) / 1e6, double(edit) / 1e6};
}

/// Writes whatever still waits and lets its announcements pass, outside the measurement.
void settle(AppState &state)
{
    state.flushPendingSaves();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

/// One character appended to the note, as the editor writes a keystroke into the model.
double timeKeystroke(AppState &state)
{
    QElapsedTimer keystroke;
    keystroke.start();
    state.replaceNoteRange(state.noteContent().size(), 0, u"y");
    return double(keystroke.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool rows = app.arguments().contains(QStringLiteral("--rows"));
    const QString command = QString::fromLocal8Bit(argv[0]);

    const struct
    {
        const char *label;
        qsizetype characters;
    } sizes[] = {{"1 MB", 1024 * 1024}, {"10 MB", 10 * 1024 * 1024}};

    if (!rows)
        std::printf("A save of the note, median of %d saves (ms)\n\n%-6s  %12s  %22s  %26s  "
                    "%18s  %16s\n",
                    runs, "note", "until on disk", "longest block (quiet)",
                    "longest block (typing too)", "keystroke during", "keystroke after");
    for (const auto &size : sizes) {
        TestAppState t;
        AppState &state = t.start();
        std::vector<double> total;
        std::vector<double> quiet;
        std::vector<double> typing;
        std::vector<double> keystroke;
        std::vector<double> keystrokeAfter;
        for (int i = 0; i <= runs; ++i) { // the first save warms up
            state.setNoteContent(makeNote(size.characters, 2 * i));
            QCoreApplication::processEvents();
            const Save alone = timeSave(state, false);
            settle(state);
            state.setNoteContent(makeNote(size.characters, 2 * i + 1));
            QCoreApplication::processEvents();
            const Save typed = timeSave(state, true);
            settle(state);
            const double afterwards = timeKeystroke(state);
            settle(state);
            if (i == 0)
                continue;
            total.push_back(alone.totalMs);
            quiet.push_back(alone.longestBlockMs);
            typing.push_back(typed.longestBlockMs);
            keystroke.push_back(typed.editMs);
            keystrokeAfter.push_back(afterwards);
        }
        if (t.stored(SettingsStore::noteKey).toString() != state.noteContent()) {
            std::fprintf(stderr, "bench_save: the %s note on disk is not the note\n", size.label);
            return 1;
        }
        const double block = median(quiet);
        const double blockTyping = median(typing);
        if (rows) {
            std::printf("| Save of a %s note: until on disk | %.1f ms | – | `%s` |\n", size.label,
                        median(total), qPrintable(command));
            const bool goal = size.characters <= 1024 * 1024;
            const QString verdict = !goal          ? QStringLiteral("–")
                : block <= 16 && blockTyping <= 16 ? QStringLiteral("met (≤ 16 ms)")
                                                   : QStringLiteral("**missed** (≤ 16 ms)");
            std::printf("| Save of a %s note: longest main-thread block (with a keystroke "
                        "during it) | %.1f ms (%.1f ms) | %s | `%s` |\n",
                        size.label, block, blockTyping, qPrintable(verdict), qPrintable(command));
            std::printf("| Save of a %s note: a keystroke while it is written / after it | "
                        "%.2f / %.2f ms | – | `%s` |\n",
                        size.label, median(keystroke), median(keystrokeAfter), qPrintable(command));
        } else {
            std::printf("%-6s  %12.1f  %22.1f  %26.1f  %18.2f  %16.2f\n", size.label, median(total),
                        block, blockTyping, median(keystroke), median(keystrokeAfter));
        }
    }
    return 0;
}
