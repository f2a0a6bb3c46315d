// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Times one keystroke typed into the shown drawer's editor on notes of 10 KB to 20 MB of short
// lines, and of 1 MB to 20 MB in one single line (words and spaces, no line break):
// the key event with everything it sets off synchronously (the document edit, the model's
// replaceNoteRange with the list continuation's decision, the savers' scheduling), and the
// same plus the repaint that follows it. The caret stands in the middle of the note and at
// its end. Each size is typed into twice: with the drawer alone, and with the settings window
// open on its Advanced tab, whose read-out counts the note's characters on every change.

#include "TestAppState.h"

#include "app/AppState.h"
#include "drawer/BorderlessWindow.h"
#include "editor/DrawerView.h"
#include "editor/NoteEditor.h"
#include "settings/SettingsView.h"
#include "settings/SettingsWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTextCursor>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int keystrokes = 25;
constexpr int advancedTab = 2;

QString makeNote(qsizetype characters)
{
    const QStringList lines = {
        QStringLiteral("Meeting notes: the drawer slides in from the right edge.\n"),
        QStringLiteral("• ask about the release date\n"),
        QStringLiteral("- remember the backup\n"),
        QStringLiteral("12. numbered step of a longer procedure\n"),
    };
    QString note;
    note.reserve(characters);
    for (qsizetype i = 0; note.size() < characters; ++i)
        note += lines.at(i % lines.size());
    note.truncate(characters);
    note.back() = QLatin1Char('.');
    return note;
}

// One line of words without a line break, as a pasted log line or minified data would be.
QString makeLine(qsizetype characters)
{
    const QString words = QStringLiteral("the drawer slides in from the right edge of the screen ");
    QString line;
    line.reserve(characters);
    while (line.size() < characters)
        line += words;
    line.truncate(characters);
    return line;
}

double medianMs(std::vector<qint64> samples)
{
    std::sort(samples.begin(), samples.end());
    return double(samples[samples.size() / 2]) / 1e6;
}

struct Timing
{
    double key = 0;
    double keyAndPaint = 0;
};

Timing typeAt(NoteEditor *editor, int position)
{
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(position);
    editor->setTextCursor(cursor);
    QCoreApplication::processEvents();

    std::vector<qint64> key;
    std::vector<qint64> keyAndPaint;
    for (int i = 0; i < keystrokes + 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(editor, Qt::Key_X);
        const qint64 typed = timer.nsecsElapsed();
        QCoreApplication::processEvents();
        const qint64 painted = timer.nsecsElapsed();
        if (i >= 3) { // the first keystrokes warm up the layout around the caret
            key.push_back(typed);
            keyAndPaint.push_back(painted);
        }
    }
    return {medianMs(key), medianMs(keyAndPaint)};
}

struct Result
{
    QString size;
    bool advanced;
    bool goal;
    Timing middle;
    Timing end;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool rows = app.arguments().contains(QStringLiteral("--rows"));
    const QString command = QString::fromLocal8Bit(argv[0]);

    if (const qsizetype at = app.arguments().indexOf(QStringLiteral("--keys")); at > 0)
        keystrokes = std::max(1, app.arguments().value(at + 1).toInt());
    // --shape lines|line: only the notes of short lines, or only those of one line.
    const QString shape
        = app.arguments().value(app.arguments().indexOf(QStringLiteral("--shape")) + 1);
    constexpr qsizetype megabyte = 1024 * 1024;
    const struct
    {
        const char *label;
        qsizetype characters;
        bool oneLine;
        bool goal;
    } sizes[] = {{"10 KB", 10 * 1024, false, false},    {"1 MB", megabyte, false, false},
                 {"10 MB", 10 * megabyte, false, true}, {"20 MB", 20 * megabyte, false, true},
                 {"1 MB", megabyte, true, true},        {"5 MB", 5 * megabyte, true, true},
                 {"10 MB", 10 * megabyte, true, true},  {"20 MB", 20 * megabyte, true, true}};

    std::vector<Result> results;
    for (const auto &size : sizes) {
        if ((shape == QLatin1String("lines") && size.oneLine)
            || (shape == QLatin1String("line") && !size.oneLine))
            continue;
        for (const bool advanced : {false, true}) {
            TestAppState t;
            AppState &state = t.start();
            t.instantSlides();
            state.setNoteContent(size.oneLine ? makeLine(size.characters)
                                              : makeNote(size.characters));
            state.toggleDrawer();
            QCoreApplication::processEvents();
            if (advanced) {
                state.showSettingsWindow();
                state.settingsWindow()->view()->setSelectedTab(advancedTab);
                QCoreApplication::processEvents();
            }
            auto *view = qobject_cast<DrawerView *>(state.drawerWindow()->content());
            NoteEditor *editor = view->editor();
            editor->setFocus();

            const qsizetype before = state.noteContent().size();
            const Timing middle = typeAt(editor, int(before / 2));
            const Timing end = typeAt(editor, editor->document()->characterCount() - 1);
            if (state.noteContent().size() != before + 2 * (keystrokes + 3)) {
                std::fprintf(stderr, "the model missed keystrokes on the %s note\n", size.label);
                return 1;
            }
            results.push_back({QString::fromLatin1(size.label)
                                   + (size.oneLine ? QStringLiteral(" note in one line")
                                                   : QStringLiteral(" note")),
                               advanced, size.goal, middle, end});
        }
    }

    if (rows) {
        for (const Result &r : results) {
            const double worst = std::max(r.middle.keyAndPaint, r.end.keyAndPaint);
            const bool goal = r.goal;
            std::printf("| One keystroke, %s%s: key to model and repaint (caret in the "
                        "middle / at the end) | %.2f / %.2f ms | %s | `%s` |\n",
                        qPrintable(r.size), r.advanced ? ", Advanced tab open" : "",
                        r.middle.keyAndPaint, r.end.keyAndPaint,
                        !goal             ? "–"
                            : worst <= 16 ? "met (≤ 16 ms)"
                                          : "**missed** (≤ 16 ms)",
                        qPrintable(command));
        }
        return 0;
    }
    std::printf("One keystroke into the shown drawer, median of %d (ms)\n\n", keystrokes);
    std::printf("%-22s  %-13s  %12s  %15s  %10s  %13s\n", "note", "settings", "middle: key",
                "middle: +paint", "end: key", "end: +paint");
    for (const Result &r : results)
        std::printf("%-22s  %-13s  %12.3f  %15.3f  %10.3f  %13.3f\n", qPrintable(r.size),
                    r.advanced ? "Advanced tab" : "closed", r.middle.key, r.middle.keyAndPaint,
                    r.end.key, r.end.keyAndPaint);
    return 0;
}
