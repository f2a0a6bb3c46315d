// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Times the list continuation after a line break on notes of 1 KB, 1 MB and 10 MB: the whole
// edit as the editor makes it (the decision, the line break and the marker written as one
// change and its announcement to every subscriber of the model), and beside it the decision
// alone, the copy of the note that building "note + marker" costs, and the model's in-place
// append (replaceNoteRange at the end) for comparison.

#include "FixedScreenSource.h"
#include "app/AppState.h"
#include "app/AutoFormatter.h"
#include "app/UserPrompts.h"
#include "platform/HotkeyBackend.h"
#include "storage/SettingsStore.h"
#include "text/ListContinuation.h"
#include "tray/Subsystems.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

class QuietHotkeys : public HotkeyBackend
{
public:
    void registerHotkey(const QString &id, QKeyCombination) override
    {
        Q_EMIT registrationFinished(id, Result::Registered, {});
    }
    void unregisterHotkey(const QString &) override { }
};

class NoPrompts : public UserPrompts
{
public:
    bool confirmClearAll(QWidget *) override { return false; }
    QString chooseExportFile(QWidget *) override { return {}; }
    void showError(QWidget *, const QString &, const QString &) override { }
};

constexpr int runs = 15;
const QString lastItem = QStringLiteral("41. buy milk\n");
const QString marker = QStringLiteral("42. ");

// Plain lines and list items up to \a bytes UTF-8 bytes, ending with a numbered item and a
// line break.
QString makeNote(qsizetype bytes)
{
    const QStringList lines = {
        QStringLiteral("Meeting notes: the drawer slides in from the right edge.\n"),
        QStringLiteral("• ask about the release date\n"),
        QStringLiteral("- remember the backup\n"),
        QStringLiteral("    * indented detail with some more words in it\n"),
        QStringLiteral("12. numbered step of a longer procedure\n"),
    };
    QString note;
    note.reserve(bytes);
    for (qsizetype i = 0; note.size() + lastItem.size() < bytes; ++i)
        note += lines.at(i % lines.size());
    note.truncate(bytes - lastItem.size());
    if (!note.isEmpty())
        note.back() = QLatin1Char('\n');
    return note + lastItem;
}

qint64 median(std::vector<qint64> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Median of \a runs timed calls of \a work, each after an untimed \a prepare.
qint64 time(const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<qint64> samples;
    prepare();
    work(); // warm-up
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        samples.push_back(timer.nsecsElapsed());
    }
    return median(samples);
}

struct Row
{
    const char *label;
    qint64 whole;
    qint64 decision;
    qint64 copy;
    qint64 inPlace;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    AppServices services;
    services.store = std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("Jotshelf.conf")));
    services.notes = std::make_unique<NoteStore>(*services.store);
    services.screens
        = std::make_shared<FixedScreenSource>(QRectF(0, 0, 1440, 900), QRectF(0, 75, 1440, 800));
    services.hotkeys = std::make_unique<QuietHotkeys>();
    services.prompts = std::make_unique<NoPrompts>();
    services.console = [](const QString &) {};
    Subsystems::provide(services);
    AppState state(std::move(services));
    // The switches are on (the defaults): the formatter's gate is part of what is timed.
    AutoFormatter formatter(state);

    const struct
    {
        const char *label;
        qsizetype bytes;
    } sizes[] = {{"1 KB", 1024}, {"1 MB", 1024 * 1024}, {"10 MB", 10 * 1024 * 1024}};

    std::vector<Row> rows;
    for (const auto &size : sizes) {
        // The model holds the only copy of the note, as in the application: a copy held here
        // would make every in-place edit copy the whole note.
        const qsizetype noteSize = [&] {
            const QString note = makeNote(size.bytes);
            state.setNoteContent(note);
            return note.size();
        }();
        // Removing the marker again is the user's two backspaces: a small edit of the model.
        auto removeMarker = [&state] {
            if (state.noteContent().endsWith(marker))
                state.replaceNoteRange(state.noteContent().size() - marker.size(), marker.size(),
                                       {});
        };
        // The line break typed again after the item: the marker and the break go, untimed.
        auto removeBreak = [&] {
            removeMarker();
            if (state.noteContent().endsWith(lastItem))
                state.replaceNoteRange(state.noteContent().size() - 1, 1, {});
        };
        const qint64 whole = time(removeBreak, [&] {
            const NoteEdit change
                = formatter.continued({state.noteContent().size(), 0, QStringLiteral("\n")});
            state.replaceNoteRange(change.position, change.removed, change.inserted);
        });
        if (state.noteContent().size() != noteSize + marker.size()
            || !state.noteContent().endsWith(lastItem + marker)) {
            std::fprintf(stderr, "the marker was not appended on the %s note\n", size.label);
            return 1;
        }
        removeMarker();

        volatile qsizetype sink = 0;
        const qint64 decision = time(
            [] {}, [&] { sink = ListContinuation::markerToAppend(state.noteContent())->size(); });
        const qint64 copy = time([] {}, [&] { sink = (state.noteContent() + marker).size(); });
        Q_UNUSED(sink)
        const qint64 inPlace = time(
            removeMarker, [&] { state.replaceNoteRange(state.noteContent().size(), 0, marker); });
        rows.push_back({size.label, whole, decision, copy, inPlace});
    }

    if (QCoreApplication::arguments().contains(QStringLiteral("--rows"))) {
        // The rows of the table `make bench` prints.
        const QString command = QString::fromLocal8Bit(argv[0]);
        const double ratio = double(rows.back().whole) / double(rows.front().whole);
        for (const Row &row : rows) {
            const bool goal = &row == &rows.back();
            const QString verdict = !goal
                ? QStringLiteral("–")
                : QStringLiteral("%1 (≤ 2× 1 KB): %2×")
                      .arg(ratio <= 2 ? QStringLiteral("met") : QStringLiteral("**missed**"))
                      .arg(ratio, 0, 'f', 1);
            std::printf("| List continuation after a line break, %s note | %.1f µs | %s | `%s` "
                        "|\n",
                        row.label, double(row.whole) / 1000, qPrintable(verdict),
                        qPrintable(command));
        }
        return 0;
    }
    std::printf("List continuation after a line break, median of %d runs (ns); note sizes in "
                "characters\n\n",
                runs);
    std::printf("%-6s  %22s  %16s  %16s  %18s\n", "note", "line break + marker", "markerToAppend",
                "note + marker", "replaceNoteRange");
    for (const Row &row : rows)
        std::printf("%-6s  %22lld  %16lld  %16lld  %18lld\n", row.label,
                    static_cast<long long>(row.whole), static_cast<long long>(row.decision),
                    static_cast<long long>(row.copy), static_cast<long long>(row.inPlace));
    const Row &small = rows.front();
    const Row &large = rows.back();
    std::printf("\nratio 10 MB / 1 KB: line break + marker %.1f, markerToAppend %.2f, "
                "note + marker %.1f\n",
                double(large.whole) / double(small.whole),
                double(large.decision) / double(small.decision),
                double(large.copy) / double(small.copy));
    return 0;
}
