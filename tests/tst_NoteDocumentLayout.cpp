// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/NoteDocumentLayout.h"

#include "editor/NoteEditor.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

namespace {
void prepare(QPlainTextEdit &editor, const QString &text)
{
    editor.setFrameShape(QFrame::NoFrame);
    editor.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor.document()->setDocumentMargin(0);
    editor.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    editor.resize(300, 400);
    editor.setPlainText(text);
    editor.show();
}

// Where each line of each block starts, as the editor's layout broke them.
QList<QList<int>> lineStarts(const QPlainTextEdit &editor)
{
    QList<QList<int>> starts;
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid();
         block = block.next()) {
        editor.document()->documentLayout()->blockBoundingRect(block); // lays it out if need be
        QList<int> lines;
        for (int i = 0; i < block.layout()->lineCount(); ++i)
            lines.append(block.layout()->lineAt(i).textStart());
        starts.append(lines);
    }
    return starts;
}
} // namespace

class tst_NoteDocumentLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The editor lays its blocks out itself: its lines must break where Qt's own editor breaks
    // them, after typing into a wrapped paragraph, a new line and a narrower window, and the
    // scroll range must follow.
    void linesBreakWhereQtsOwnLayoutBreaksThem()
    {
        QString paragraph;
        for (int i = 0; i < 40; ++i)
            paragraph += QStringLiteral("words of a paragraph that wraps ");
        const QString text = QStringLiteral("- a short line\n\n") + paragraph
            + QStringLiteral("\n12. the last line");
        NoteEditor ours;
        QPlainTextEdit qts;
        QVERIFY(qobject_cast<NoteDocumentLayout *>(ours.document()->documentLayout()));
        prepare(ours, text);
        prepare(qts, text);
        QVERIFY(QTest::qWaitForWindowExposed(&ours));
        QVERIFY(QTest::qWaitForWindowExposed(&qts));

        const auto compare = [&](const char *step) {
            const auto expected = lineStarts(qts);
            QVERIFY2(expected.at(2).size() > 3, step); // the paragraph does wrap
            QVERIFY2(lineStarts(ours) == expected, step);
            QVERIFY2(ours.document()->lineCount() == qts.document()->lineCount(), step);
            QVERIFY2(ours.verticalScrollBar()->maximum() == qts.verticalScrollBar()->maximum(),
                     step);
        };
        compare("filled");
        for (QPlainTextEdit *editor : {static_cast<QPlainTextEdit *>(&ours), &qts}) {
            QTextCursor cursor(editor->document()->findBlockByNumber(2));
            cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 300);
            editor->setTextCursor(cursor);
            QTest::keyClicks(editor, QStringLiteral("a few more words typed in"));
        }
        compare("typed");
        for (QPlainTextEdit *editor : {static_cast<QPlainTextEdit *>(&ours), &qts}) {
            QTest::keyClick(editor, Qt::Key_Return);
            QTest::keyClick(editor, Qt::Key_Backspace);
            QTest::keyClick(editor, Qt::Key_Backspace);
        }
        compare("joined");
        ours.resize(180, 400);
        qts.resize(180, 400);
        QCoreApplication::processEvents();
        compare("narrower");
    }
};

QTEST_MAIN(tst_NoteDocumentLayout)
#include "tst_NoteDocumentLayout.moc"
