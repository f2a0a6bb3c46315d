#include "editor/NoteBinding.h"

#include "OpenDrawer.h"

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
        d.state.setNoteContent(QStringLiteral("first"));
        QCOMPARE(d.shown(), QStringLiteral("first"));
        QCOMPARE(d.caret(), d.documentEnd());

        // An append, made while the caret stands elsewhere, puts the caret at the end.
        d.placeCaret(2);
        d.state.setNoteContent(QStringLiteral("first\nsecond"));
        QCOMPARE(d.shown(), QStringLiteral("first\nsecond"));
        QCOMPARE(d.caret(), d.documentEnd());

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

    void unrepresentableNoteIsWrittenBackOnFirstEdit_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("shown");

        QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\nb");
        QTest::newRow("lone CR") << QStringLiteral("a\rb") << QStringLiteral("a\nb");
        QTest::newRow("paragraph separator")
            << QStringLiteral("a\u2029b") << QStringLiteral("a\nb");
        QTest::newRow("frame mark") << QStringLiteral("a\uFDD0b") << QStringLiteral("a\uFFFDb");
    }

    void unrepresentableNoteIsWrittenBackOnFirstEdit()
    {
        QFETCH(QString, note);
        QFETCH(QString, shown);
        OpenDrawer d;
        d.state.setNoteContent(note);
        QCOMPARE(d.shown(), shown);
        // Showing the note changes nothing in it.
        QCOMPARE(d.state.noteContent(), note);
        QVERIFY(d.view->binding()->isWriteBackPending());

        d.placeCaret(d.documentEnd());
        QTest::keyClicks(d.editor, QStringLiteral("z"));
        QCOMPARE(d.state.noteContent(), shown + QStringLiteral("z"));
        QCOMPARE(d.shown(), d.state.noteContent());
        QVERIFY(!d.view->binding()->isWriteBackPending());

        // From then on single keystrokes map one to one again.
        d.placeCaret(0);
        QTest::keyClicks(d.editor, QStringLiteral("y"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("y") + shown + QStringLiteral("z"));
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

    void documentAndModelNeverDiverge()
    {
        OpenDrawer d;
        QRandomGenerator random(20240611);
        const QStringList pieces = {QStringLiteral("a"),
                                    QStringLiteral("word "),
                                    QStringLiteral("- "),
                                    QStringLiteral("1. "),
                                    QStringLiteral("\n"),
                                    QString(nbsp),
                                    emoji,
                                    QStringLiteral("• x\n")};
        for (int step = 0; step < 400; ++step) {
            const int end = d.documentEnd();
            switch (random.bounded(9)) {
            case 0:
            case 1:
            case 2:
                d.placeCaret(random.bounded(end + 1));
                typeText(d.editor, pieces.at(random.bounded(int(pieces.size()))));
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
                typeText(d.editor, pieces.at(random.bounded(int(pieces.size()))));
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
