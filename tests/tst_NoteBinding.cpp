// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/NoteBinding.h"

#include "OpenDrawer.h"

#include "editor/LinePieces.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTextBlock>

#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {
const QChar nbsp(0x00A0);
const QString emoji = QStringLiteral("\U0001F600");

// Types text the way a keyboard or an input method delivers it: one event per character, a
// surrogate pair in one event.
void typeText(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString unit(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            unit += text[++i];
        if (unit == u"\n")
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, unit, Qt::NoModifier);
    }
}
// Types short texts; inserts long ones at once, as a paste would.
void typeOrInsert(QPlainTextEdit *editor, const QString &text)
{
    if (text.size() > 20)
        editor->insertPlainText(text);
    else
        typeText(editor, text);
}

// A line of words several pieces long.
QString longLine(qsizetype size, const QString &start = {})
{
    QString line = start;
    for (int i = 0; line.size() < size; ++i)
        line += QStringLiteral("word%1 ").arg(i);
    return line;
}

// The document position where the n-th piece that continues a line starts.
int pieceStart(const QTextDocument *document, int n)
{
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (LinePieces::continuesLine(block) && n-- == 0)
            return block.position();
    }
    return -1;
}
} // namespace

class tst_NoteBinding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void documentForm_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("representable");

        QTest::newRow("plain") << QStringLiteral("a\nb") << QStringLiteral("a\nb") << true;
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb\r\n") << QStringLiteral("a\nb\n") << false;
        QTest::newRow("lone CR") << QStringLiteral("a\rb") << QStringLiteral("a\nb") << false;
        QTest::newRow("CR CR LF") << QStringLiteral("a\r\r\nb") << QStringLiteral("a\n\nb")
                                  << false;
        QTest::newRow("paragraph separator")
            << QStringLiteral("a\u2029b") << QStringLiteral("a\nb") << false;
        QTest::newRow("frame marks")
            << QStringLiteral("a\uFDD0b\uFDD1") << QStringLiteral("a\uFFFDb\uFFFD") << false;
        QTest::newRow("kept as they are") << QStringLiteral("a\u00A0b\u2028c\td\U0001F600")
                                          << QStringLiteral("a\u00A0b\u2028c\td\U0001F600") << true;
    }

    void documentForm()
    {
        QFETCH(QString, note);
        QFETCH(QString, shown);
        QFETCH(bool, representable);
        QCOMPARE(NoteBinding::documentForm(note), shown);
        QCOMPARE(NoteBinding::isRepresentable(note), representable);
    }

    void loadsTheSavedNote()
    {
        OpenDrawer d([](TestAppState &t) { t.seed("noteContent", QStringLiteral("one\ntwo")); });
        QCOMPARE(d.shown(), QStringLiteral("one\ntwo"));
        QCOMPARE(d.caret(), d.documentEnd());
        QVERIFY(!d.editor->document()->isUndoAvailable());
    }

    void typingWritesTheModel()
    {
        OpenDrawer d;
        QTest::keyClicks(d.editor, QStringLiteral("hello"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("hello"));
        QTest::keyClick(d.editor, Qt::Key_Backspace);
        QCOMPARE(d.state.noteContent(), QStringLiteral("hell"));
        QTest::keyClick(d.editor, Qt::Key_Return);
        QTest::keyClicks(d.editor, QStringLiteral("x"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("hell\nx"));
        QCOMPARE(d.shown(), d.state.noteContent());
    }

    void modelChangesReachTheEditor()
    {
        OpenDrawer d;
        // An append from outside leaves the caret and the selection where they were, also at
        // the end: the user goes on typing the word they were typing.
        d.state.setNoteContent(QStringLiteral("first"));
        QCOMPARE(d.shown(), QStringLiteral("first"));
        QCOMPARE(d.caret(), 0);
        d.placeCaret(2);
        d.state.setNoteContent(QStringLiteral("first\nsecond"));
        QCOMPARE(d.shown(), QStringLiteral("first\nsecond"));
        QCOMPARE(d.caret(), 2);
        d.state.setNoteContent(QString());
        QTest::keyClicks(d.editor, QStringLiteral("call the plum"));
        QVERIFY(d.state.appendToNote(QStringLiteral("- milk")));
        QTest::keyClicks(d.editor, QStringLiteral("ber tomorrow"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("call the plumber tomorrow\n- milk"));
        QTextCursor selection = d.editor->textCursor();
        selection.setPosition(5);
        selection.setPosition(8, QTextCursor::KeepAnchor);
        d.editor->setTextCursor(selection);
        QVERIFY(d.state.appendToNote(QStringLiteral("- eggs")));
        QCOMPARE(d.editor->textCursor().selectedText(), QStringLiteral("the"));

        // A replacement of the whole note is a fresh start: nothing to undo into the old one.
        d.state.setNoteContent(QString());
        QCOMPARE(d.shown(), QString());
        QVERIFY(!d.editor->document()->isUndoAvailable());
    }

    void equalAssignmentLeavesTheCaret()
    {
        OpenDrawer d;
        d.state.setNoteContent(QStringLiteral("same text"));
        d.placeCaret(3);
        d.state.setNoteContent(QStringLiteral("same text"));
        QCOMPARE(d.caret(), 3);
    }

    void caretAndScrollStayWhileTyping()
    {
        OpenDrawer d;
        QString note;
        for (int line = 0; line < 300; ++line)
            note += QStringLiteral("line %1\n").arg(line);
        d.state.setNoteContent(note);
        d.placeCaret(2);
        d.editor->verticalScrollBar()->setValue(0);

        QTest::keyClicks(d.editor, QStringLiteral("XY"));
        QCOMPARE(d.caret(), 4);
        QCOMPARE(d.editor->verticalScrollBar()->value(), 0);
        QCOMPARE(d.state.noteContent(), QStringLiteral("liXYne 0\n") + note.mid(7));
    }

    void listMarkerAppendedAfterReturn()
    {
        OpenDrawer d;
        QTest::keyClicks(d.editor, QStringLiteral("- item"));
        QTest::keyClick(d.editor, Qt::Key_Return);
        QCOMPARE(d.state.noteContent(), QStringLiteral("- item\n- "));
        QCOMPARE(d.shown(), QStringLiteral("- item\n- "));
        QCOMPARE(d.caret(), d.documentEnd());

        QTest::keyClicks(d.editor, QStringLiteral("next"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("- item\n- next"));
    }

    void markerAtTheEndLeavesTheCaretInTheMiddle()
    {
        // A note stored ending in a list item and a line break gets the marker at the first
        // change anywhere; the user keeps typing where they are.
        OpenDrawer d([](TestAppState &t) { t.seed("noteContent", QStringLiteral("ab\n- a\n")); });
        d.placeCaret(1);
        QTest::keyClicks(d.editor, QStringLiteral("XY"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("aXYb\n- a\n- "));
        QCOMPARE(d.shown(), d.state.noteContent());
        QCOMPARE(d.caret(), 3);
    }

    void undoAndRedoReachTheModel()
    {
        OpenDrawer d;
        QTest::keyClicks(d.editor, QStringLiteral("abc"));
        d.editor->undo();
        QCOMPARE(d.state.noteContent(), d.shown());
        QVERIFY(d.state.noteContent().size() < 3);
        d.editor->redo();
        QCOMPARE(d.state.noteContent(), QStringLiteral("abc"));

        // The marker goes together with the line break that brought it.
        d.state.setNoteContent(QString());
        QTest::keyClicks(d.editor, QStringLiteral("- a"));
        QTest::keyClick(d.editor, Qt::Key_Return);
        QCOMPARE(d.state.noteContent(), QStringLiteral("- a\n- "));
        QTest::keyClick(d.editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(d.state.noteContent(), QStringLiteral("- a"));
        QCOMPARE(d.shown(), QStringLiteral("- a"));
        d.editor->redo();
        QCOMPARE(d.state.noteContent(), QStringLiteral("- a\n- "));
        QCOMPARE(d.shown(), d.state.noteContent());
    }

    void noBreakSpaceAndEmojiSurvive()
    {
        OpenDrawer d;
        d.state.setNoteContent(QStringLiteral("a") + nbsp + QStringLiteral("b") + emoji);
        d.placeCaret(1);
        typeText(d.editor, QStringLiteral("x"));
        d.placeCaret(d.documentEnd());
        typeText(d.editor, emoji + QStringLiteral("y") + nbsp);
        const QString expected = QStringLiteral("ax") + nbsp + QStringLiteral("b") + emoji + emoji
            + QStringLiteral("y") + nbsp;
        QCOMPARE(d.state.noteContent(), expected);
        QCOMPARE(d.shown(), expected);

        // Deleting the character before an emoji leaves the emoji whole.
        d.placeCaret(4);
        QTest::keyClick(d.editor, Qt::Key_Backspace);
        QCOMPARE(d.state.noteContent(),
                 QStringLiteral("ax") + nbsp + emoji + emoji + QStringLiteral("y") + nbsp);
    }

    void pastedLineBreaksBecomeLineFeeds()
    {
        OpenDrawer d;
        d.editor->insertPlainText(QStringLiteral("one\r\ntwo\rthree"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("one\ntwo\nthree"));
        QCOMPARE(d.shown(), d.state.noteContent());
    }

    void unrepresentableCharactersStayUntilTouched_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("shown");

        QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\nb");
        QTest::newRow("lone CR") << QStringLiteral("a\rb") << QStringLiteral("a\nb");
        QTest::newRow("paragraph separator")
            << QStringLiteral("a\u2029b") << QStringLiteral("a\nb");
        QTest::newRow("frame mark") << QStringLiteral("a\uFDD0b") << QStringLiteral("a\uFFFDb");
    }

    void unrepresentableCharactersStayUntilTouched()
    {
        QFETCH(QString, note);
        QFETCH(QString, shown);
        OpenDrawer d;
        d.state.setNoteContent(note);
        QCOMPARE(d.shown(), shown);
        // Showing the note changes nothing in it, nor does typing elsewhere: the model keeps
        // the characters the document shows otherwise.
        QCOMPARE(d.state.noteContent(), note);
        d.placeCaret(d.documentEnd());
        QTest::keyClicks(d.editor, QStringLiteral("z"));
        QCOMPARE(d.state.noteContent(), note + QStringLiteral("z"));
        d.placeCaret(0);
        QTest::keyClicks(d.editor, QStringLiteral("y"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("y") + note + QStringLiteral("z"));
        QCOMPARE(d.shown(), QStringLiteral("y") + shown + QStringLiteral("z"));

        // Deleting the line break the document shows deletes what stands for it, whole.
        d.placeCaret(3);
        QTest::keyClick(d.editor, Qt::Key_Backspace);
        QCOMPARE(d.shown(), QStringLiteral("ya") + shown.mid(2) + QStringLiteral("z"));
        QCOMPARE(d.state.noteContent(), d.shown());
    }

    // Short lines share a block, joined by line separators; a note with line separators of its
    // own is shown one line to a block, and they stay what they are.
    void lineSeparatorsOfTheNoteStayApart()
    {
        OpenDrawer d([](TestAppState &t) { t.seed("noteContent", QStringLiteral("a\nb")); });
        QCOMPARE(d.editor->document()->blockCount(), 1);
        d.state.replaceNoteRange(3, 0, QStringLiteral("\u2028c"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("a\nb\u2028c"));
        QCOMPARE(d.shown(), d.state.noteContent());
        QCOMPARE(d.editor->document()->blockCount(), 2);
        d.placeCaret(d.documentEnd());
        QTest::keyClicks(d.editor, QStringLiteral("x"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("a\nb\u2028cx"));
    }

    void unrepresentableAppendReloads()
    {
        OpenDrawer d;
        d.state.setNoteContent(QStringLiteral("a"));
        d.state.setNoteContent(QStringLiteral("a\r\nb"));
        QCOMPARE(d.shown(), QStringLiteral("a\nb"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("a\r\nb"));
        QCOMPARE(d.caret(), d.documentEnd());
    }

    // A long line is held in pieces of bounded length; typing, deleting, selecting, copying,
    // undoing and continuing a list across the breaks between them all act on the note as if
    // the line were whole, and the note itself never changes by being shown.
    void longLinesAreHeldInPieces()
    {
        const QString note = QStringLiteral("top\n") + longLine(7000) + QStringLiteral("\n- ")
            + longLine(5000, QStringLiteral("item ")) + QStringLiteral("\nend");
        OpenDrawer d([&note](TestAppState &t) { t.seed("noteContent", note); });
        const QTextDocument *document = d.editor->document();
        QCOMPARE(d.state.noteContent(), note);
        QCOMPARE(d.shown(), note);
        QVERIFY(document->blockCount() >= 8);
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() - 1 <= LinePieces::pieceLength);
        QVERIFY(!document->isUndoAvailable());

        QString expected = note;
        const int boundary = pieceStart(document, 0);
        QVERIFY(boundary > 0);
        const qsizetype at = d.view->binding()->toNote(boundary);
        QCOMPARE(d.view->binding()->toNote(boundary - 1), at);

        // Typing on either side of the break.
        d.placeCaret(boundary);
        typeText(d.editor, QStringLiteral("X"));
        d.placeCaret(boundary - 1);
        typeText(d.editor, QStringLiteral("Y"));
        expected.insert(at, QStringLiteral("YX"));
        QCOMPARE(d.state.noteContent(), expected);

        // Backspace at the start of a piece and Delete at the end of one take the character
        // the user sees next to the caret.
        const int next = pieceStart(document, 1);
        const qsizetype nextAt = d.view->binding()->toNote(next);
        d.placeCaret(next);
        QTest::keyClick(d.editor, Qt::Key_Backspace);
        expected.remove(nextAt - 1, 1);
        QCOMPARE(d.state.noteContent(), expected);
        d.placeCaret(pieceStart(document, 1) - 1);
        QTest::keyClick(d.editor, Qt::Key_Delete);
        expected.remove(nextAt - 1, 1);
        QCOMPARE(d.state.noteContent(), expected);
        QCOMPARE(d.shown(), expected);

        // A selection across a break copies the note's text and deletes just that.
        const int third = pieceStart(document, 2);
        QTextCursor cursor = d.editor->textCursor();
        cursor.setPosition(third - 10);
        cursor.setPosition(third + 10, QTextCursor::KeepAnchor);
        d.editor->setTextCursor(cursor);
        const qsizetype from = d.view->binding()->toNote(third - 10);
        const qsizetype count = d.view->binding()->toNote(third + 10) - from;
        QCOMPARE(count, 19);
        d.editor->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), expected.mid(from, count));
        QTest::keyClick(d.editor, Qt::Key_Delete);
        expected.remove(from, count);
        QCOMPARE(d.state.noteContent(), expected);

        // A line break typed inside a piece is a line break of the note; the rest of the
        // line goes on in pieces after it.
        const int fourth = pieceStart(document, 2);
        const qsizetype breakAt = d.view->binding()->toNote(fourth + 5);
        d.placeCaret(fourth + 5);
        QTest::keyClick(d.editor, Qt::Key_Return);
        expected.insert(breakAt, u'\n');
        QCOMPARE(d.state.noteContent(), expected);
        QCOMPARE(d.shown(), expected);

        // Undo goes back over all of it to the note as loaded, redo forward again.
        const QString edited = expected;
        while (document->isUndoAvailable())
            d.editor->undo();
        QCOMPARE(d.state.noteContent(), note);
        QCOMPARE(d.shown(), note);
        while (document->isRedoAvailable())
            d.editor->redo();
        QCOMPARE(d.state.noteContent(), edited);
        QCOMPARE(d.shown(), edited);

        // The list goes on after a long item, and a long paste goes in in pieces.
        d.state.setNoteContent(QStringLiteral("- ") + longLine(9000));
        d.placeCaret(d.documentEnd());
        QTest::keyClick(d.editor, Qt::Key_Return);
        QVERIFY(d.state.noteContent().endsWith(QStringLiteral(" \n- ")));
        QCOMPARE(d.shown(), d.state.noteContent());
        const QString pasted = longLine(30000, QStringLiteral("pasted "));
        QGuiApplication::clipboard()->setText(pasted);
        d.editor->paste();
        QVERIFY(d.state.noteContent().endsWith(QStringLiteral("\n- ") + pasted));
        QCOMPARE(d.shown(), d.state.noteContent());
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() - 1 <= LinePieces::longestBlock);
    }

    void documentAndModelNeverDiverge_data()
    {
        QTest::addColumn<bool>("longLines");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("short lines") << false << QString();
        QTest::newRow("short lines sharing blocks")
            << false << QStringLiteral("one\ntwo\n\n- three\n").repeated(200);
        QTest::newRow("line separators of the note's own")
            << false << QStringLiteral("a\u2028b\nc\n").repeated(50);
        QTest::newRow("long lines in pieces")
            << true << longLine(5000) + u'\n' + longLine(3000) + QStringLiteral("\na\nb");
    }

    void documentAndModelNeverDiverge()
    {
        QFETCH(bool, longLines);
        QFETCH(QString, loaded);
        OpenDrawer d;
        d.state.setNoteContent(loaded);
        QRandomGenerator random(20240611);
        const QStringList pieces = {QStringLiteral("a"),
                                    QStringLiteral("word "),
                                    QStringLiteral("- "),
                                    QStringLiteral("1. "),
                                    QStringLiteral("\n"),
                                    QString(nbsp),
                                    emoji,
                                    QStringLiteral("• x\n"),
                                    QString(QChar::LineSeparator),
                                    longLines ? longLine(2500) : QStringLiteral("b")};
        for (int step = 0; step < 400; ++step) {
            const int end = d.documentEnd();
            switch (random.bounded(9)) {
            case 0:
            case 1:
            case 2:
                d.placeCaret(random.bounded(end + 1));
                typeOrInsert(d.editor, pieces.at(random.bounded(int(pieces.size()))));
                break;
            case 3:
                QTest::keyClick(d.editor, Qt::Key_Backspace);
                break;
            case 4:
                d.placeCaret(random.bounded(end + 1));
                QTest::keyClick(d.editor, Qt::Key_Delete);
                break;
            case 5: {
                QTextCursor cursor = d.editor->textCursor();
                cursor.setPosition(random.bounded(end + 1));
                cursor.setPosition(random.bounded(end + 1), QTextCursor::KeepAnchor);
                d.editor->setTextCursor(cursor);
                // A copy of the selection is the note's text, breaks between pieces or not.
                d.editor->copy();
                const qsizetype from = d.view->binding()->toNote(cursor.selectionStart());
                const qsizetype to = d.view->binding()->toNote(cursor.selectionEnd());
                if (from != to
                    && QGuiApplication::clipboard()->text()
                        != d.state.noteContent().mid(from, to - from))
                    QFAIL(qPrintable(
                        QStringLiteral("wrong copy at step %1: %2 against %3")
                            .arg(step)
                            .arg(QGuiApplication::clipboard()->text().toUtf8().toHex(),
                                 d.state.noteContent().mid(from, to - from).toUtf8().toHex())));
                typeOrInsert(d.editor, pieces.at(random.bounded(int(pieces.size()))));
                break;
            }
            case 6:
                d.editor->undo();
                break;
            case 7:
                d.editor->redo();
                break;
            case 8:
                QTest::keyClick(d.editor, Qt::Key_Return);
                break;
            }

            if (d.shown() != d.state.noteContent())
                QFAIL(qPrintable(QStringLiteral("diverged at step %1").arg(step)));
        }
    }
};

QTEST_MAIN(tst_NoteBinding)
#include "tst_NoteBinding.moc"
