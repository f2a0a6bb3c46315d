// Times one keystroke typed into the shown drawer's editor on notes of 10 KB, 1 MB and 10 MB:
// the key event with everything it sets off synchronously (the document edit, the model's
// replaceNoteRange, the change hook with list continuation, the savers' scheduling), and the
// same plus the repaint that follows it. The caret stands in the middle of the note and at
// its end.

#include "TestAppState.h"

#include "app/AppState.h"
#include "drawer/BorderlessWindow.h"
#include "editor/DrawerView.h"
#include "editor/NoteEditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTextCursor>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int keystrokes = 25;

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

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const struct
    {
        const char *label;
        qsizetype characters;
    } sizes[] = {{"10 KB", 10 * 1024}, {"1 MB", 1024 * 1024}, {"10 MB", 10 * 1024 * 1024}};

    std::printf("One keystroke into the shown drawer, median of %d (ms)\n\n", keystrokes);
    std::printf("%-6s  %14s  %18s  %14s  %18s\n", "note", "middle: key", "middle: +paint",
                "end: key", "end: +paint");
    for (const auto &size : sizes) {
        TestAppState t;
        AppState &state = t.start();
        t.instantSlides();
        state.setNoteContent(makeNote(size.characters));
        state.toggleDrawer();
        QCoreApplication::processEvents();
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
        std::printf("%-6s  %14.3f  %18.3f  %14.3f  %18.3f\n", size.label, middle.key,
                    middle.keyAndPaint, end.key, end.keyAndPaint);
    }
    return 0;
}
