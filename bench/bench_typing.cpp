// Times one keystroke typed into the shown drawer's editor on notes of 10 KB, 1 MB and 10 MB:
// the key event with everything it sets off synchronously (the document edit, the model's
// replaceNoteRange, the change hook with list continuation, the savers' scheduling), and the
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

constexpr int keystrokes = 25;
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
    const char *size;
    bool advanced;
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

    const struct
    {
        const char *label;
        qsizetype characters;
    } sizes[] = {{"10 KB", 10 * 1024}, {"1 MB", 1024 * 1024}, {"10 MB", 10 * 1024 * 1024}};

    std::vector<Result> results;
    for (const auto &size : sizes) {
        for (const bool advanced : {false, true}) {
            TestAppState t;
            AppState &state = t.start();
            t.instantSlides();
            state.setNoteContent(makeNote(size.characters));
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
            results.push_back({size.label, advanced, middle, end});
        }
    }

    if (rows) {
        for (const Result &r : results) {
            const double worst = std::max(r.middle.keyAndPaint, r.end.keyAndPaint);
            const bool goal = qstrcmp(r.size, "10 MB") == 0;
            std::printf("| One keystroke, %s note%s: key to model and repaint (caret in the "
                        "middle / at the end) | %.2f / %.2f ms | %s | `%s` |\n",
                        r.size, r.advanced ? ", Advanced tab open" : "", r.middle.keyAndPaint,
                        r.end.keyAndPaint,
                        !goal             ? "–"
                            : worst <= 16 ? "met (≤ 16 ms)"
                                          : "**missed** (≤ 16 ms)",
                        qPrintable(command));
        }
        return 0;
    }
    std::printf("One keystroke into the shown drawer, median of %d (ms)\n\n", keystrokes);
    std::printf("%-6s  %-13s  %12s  %15s  %10s  %13s\n", "note", "settings", "middle: key",
                "middle: +paint", "end: key", "end: +paint");
    for (const Result &r : results)
        std::printf("%-6s  %-13s  %12.3f  %15.3f  %10.3f  %13.3f\n", r.size,
                    r.advanced ? "Advanced tab" : "closed", r.middle.key, r.middle.keyAndPaint,
                    r.end.key, r.end.keyAndPaint);
    return 0;
}
