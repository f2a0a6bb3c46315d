// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/NoteBinding.h"

#include "app/AppState.h"
#include "editor/LinePieces.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace {
constexpr QChar frameStart(0xFDD0);
constexpr QChar frameEnd(0xFDD1);

bool isBreakTheDocumentRewrites(QChar c)
{
    return c == u'\r' || c == QChar::ParagraphSeparator || c == frameStart || c == frameEnd;
}
} // namespace

NoteBinding::NoteBinding(AppState &state, QPlainTextEdit &editor)
    : QObject(&editor)
    , m_state(state)
    , m_editor(editor)
    , m_formatter(state)
    , m_positions(*editor.document())
{
    QTextDocument *document = editor.document();
    connect(document, &QTextDocument::contentsChange, this, &NoteBinding::onDocumentChange);
    connect(document, &QTextDocument::contentsChanged, this, &NoteBinding::onDocumentChanged);
    connect(&state, &AppState::noteContentEdited, this, &NoteBinding::onNoteEdited);
    editor.installEventFilter(this);
}

void NoteBinding::fill()
{
    if (m_filled)
        return;
    m_filled = true;
    reload();
}

bool NoteBinding::isRepresentable(QStringView text)
{
    return std::none_of(text.begin(), text.end(), isBreakTheDocumentRewrites);
}

QString NoteBinding::documentForm(QStringView note, std::vector<int> *crlf)
{
    QString result;
    result.reserve(note.size());
    for (qsizetype i = 0; i < note.size(); ++i) {
        const QChar c = note[i];
        if (c == u'\r') {
            if (i + 1 < note.size() && note[i + 1] == u'\n') {
                ++i;
                if (crlf)
                    crlf->push_back(int(result.size()));
            }
            result.append(u'\n');
        } else if (c == QChar::ParagraphSeparator) {
            result.append(u'\n');
        } else if (c == frameStart || c == frameEnd) {
            result.append(QChar::ReplacementCharacter);
        } else {
            result.append(c);
        }
    }
    return result;
}

QString NoteBinding::documentText() const
{
    const QTextDocument &document = *m_editor.document();
    return LinePieces::noteText(document, 0, document.characterCount() - 1);
}

void NoteBinding::reload()
{
    m_tidyFrom = 1;
    m_tidyTo = 0;
    const QString &note = m_state.noteContent();
    const QScopedValueRollback reloading(m_activity, Activity::Reloading);
    std::vector<int> crlf;
    QString shown = isRepresentable(note) ? note : documentForm(note, &crlf);
    QTextDocument *document = m_editor.document();

    // Long lines reach the document already in pieces, so that no block is ever laid out
    // whole: a block break before each piece, then the piece's mark. Short lines share blocks
    // unless the note has line separators of its own, which the document could then not tell
    // from the ones that join lines.
    const bool joinLines = !shown.contains(QChar::LineSeparator);
    LinePieces::setJoinsLines(*document, joinLines);
    std::vector<int> breaks;
    shown = LinePieces::documentText(shown, joinLines, breaks);
    m_editor.setPlainText(shown);
    shown = QString();
    if (!breaks.empty()) {
        // Without undo: a loaded note is a fresh start.
        document->setUndoRedoEnabled(false);
        QTextCursor cursor(document);
        cursor.beginEditBlock();
        for (const int separator : breaks)
            QTextCursor(document->findBlock(separator + 1))
                .setBlockFormat(LinePieces::pieceFormat());
        cursor.endEditBlock();
        document->setUndoRedoEnabled(true);
    }
    m_positions.reset(std::move(breaks), std::move(crlf));
    m_editor.moveCursor(QTextCursor::End);
}

void NoteBinding::onDocumentChange(int position, int removed, int added)
{
    if (!m_filled || m_activity == Activity::Reloading)
        return;
    // The document announces each change once, then that it is done; should a second change
    // come first, the model takes the first as it is.
    if (m_activity == Activity::Idle && m_userEdit)
        writeModel(*std::exchange(m_userEdit, std::nullopt));
    const int length = m_editor.document()->characterCount() - 1;
    position = std::clamp(position, 0, length);
    added = std::clamp(added, 0, length - position);
    removed = std::max(removed, 0);
    // The note's range of the change, taken before the positions follow it: a CR LF whose line
    // feed goes goes whole.
    const qsizetype from = toNote(position);
    const qsizetype noteRemoved = std::max<qsizetype>(toNote(position + removed) - from, 0);
    m_positions.follow(position, removed, added);
    if (m_tidyFrom > m_tidyTo) {
        m_tidyFrom = position;
        m_tidyTo = position + added;
    } else {
        m_tidyFrom = std::min(m_tidyFrom, position);
        m_tidyTo = std::max(m_tidyTo + added - removed, position + added);
    }
    if (m_activity != Activity::Idle)
        return;
    m_userEdit = NoteEdit {from, noteRemoved,
                           LinePieces::noteText(*m_editor.document(), position, position + added)};
}

void NoteBinding::onDocumentChanged()
{
    if (m_activity != Activity::Idle)
        return;
    if (m_userEdit)
        commitUserEdit();
    tidyBlocks();
}

void NoteBinding::commitUserEdit()
{
    const NoteEdit edit = *std::exchange(m_userEdit, std::nullopt);
    const std::optional<QString> marker = m_formatter.markerAfter(edit);
    if (!marker) {
        writeModel(edit);
        return;
    }
    {
        // Part of the user's edit, so that one undo takes both; a caret at the end goes on
        // after the marker, one elsewhere stays.
        const QScopedValueRollback changing(m_activity, Activity::ChangingDocument);
        QTextCursor cursor(m_editor.document());
        cursor.joinPreviousEditBlock();
        cursor.movePosition(QTextCursor::End);
        LinePieces::insertNoteText(cursor, *marker);
        cursor.endEditBlock();
    }
    writeModel(AutoFormatter::joined(m_state.noteContent(), edit, *marker));
}

void NoteBinding::writeModel(const NoteEdit &edit)
{
    {
        const QScopedValueRollback writing(m_activity, Activity::WritingModel);
        m_state.replaceNoteRange(edit.position, edit.removed, edit.inserted);
    }
    // The document reported a range the model could not follow exactly: the document is what
    // the user sees, so it becomes the note.
    if (m_state.noteContent().size() != m_positions.noteLength()) {
        m_positions.forgetCrLf();
        const QScopedValueRollback writing(m_activity, Activity::WritingModel);
        m_state.setNoteContent(documentText());
    }
}

void NoteBinding::tidyBlocks()
{
    if (m_tidyFrom > m_tidyTo)
        return;
    QTextDocument *document = m_editor.document();
    const int length = document->characterCount() - 1;
    const int from = std::clamp(m_tidyFrom, 0, length);
    const int to = std::clamp(m_tidyTo, from, length);
    m_tidyFrom = 1;
    m_tidyTo = 0;
    const QTextBlock last = document->findBlock(to);
    std::vector<QTextBlock> copiedMarks;
    std::vector<QTextBlock> tooLong;
    for (QTextBlock block = document->findBlock(from); block.isValid(); block = block.next()) {
        // A mark the block took over from the one it was split from: the break before it is
        // a line break of the note, and the mark goes, so that undo and redo find it plain.
        if (LinePieces::isMarked(block) && !m_positions.isPieceBreak(block.position() - 1))
            copiedMarks.push_back(block);
        if (block.length() - 1 > LinePieces::longestBlock)
            tooLong.push_back(block);
        if (block == last)
            break;
    }
    if (copiedMarks.empty() && tooLong.empty())
        return;
    const QScopedValueRollback changing(m_activity, Activity::ChangingDocument);
    QTextCursor cursor(document);
    // Part of the edit that made them, for undo. The positions follow the change as a whole
    // when it ends: plain blocks then, and the new pieces' breaks.
    cursor.joinPreviousEditBlock();
    for (const QTextBlock &block : copiedMarks)
        QTextCursor(block).setBlockFormat(QTextBlockFormat());
    // Cutting inserts breaks: the positions follow them like any change, the note stays.
    for (auto it = tooLong.rbegin(); it != tooLong.rend(); ++it)
        LinePieces::cutIfTooLong(*document, *it, LinePieces::longestBlock);
    cursor.endEditBlock();
    m_tidyFrom = 1;
    m_tidyTo = 0;
}

bool NoteBinding::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_editor && event->type() == QEvent::KeyPress && m_filled)
        stepOverPieceBreak(*static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}

void NoteBinding::stepOverPieceBreak(const QKeyEvent &key)
{
    if (!m_positions.hasPieceBreaks())
        return;
    QTextCursor cursor = m_editor.textCursor();
    const bool selects = key.matches(QKeySequence::SelectPreviousChar)
        || key.matches(QKeySequence::SelectNextChar)
        || key.matches(QKeySequence::SelectPreviousWord)
        || key.matches(QKeySequence::SelectNextWord);
    if (cursor.hasSelection() && !selects)
        return;
    const bool backward = key.key() == Qt::Key_Backspace
        || key.matches(QKeySequence::MoveToPreviousChar)
        || key.matches(QKeySequence::SelectPreviousChar)
        || key.matches(QKeySequence::MoveToPreviousWord)
        || key.matches(QKeySequence::SelectPreviousWord);
    const bool forward = key.matches(QKeySequence::Delete)
        || key.matches(QKeySequence::DeleteEndOfWord) || key.matches(QKeySequence::MoveToNextChar)
        || key.matches(QKeySequence::SelectNextChar) || key.matches(QKeySequence::MoveToNextWord)
        || key.matches(QKeySequence::SelectNextWord);
    const int position = cursor.position();
    int to = position;
    if (backward && m_positions.isPieceBreak(position - 1))
        to = position - 1;
    else if (forward && m_positions.isPieceBreak(position))
        to = position + 1;
    if (to == position)
        return;
    cursor.setPosition(to, selects ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    m_editor.setTextCursor(cursor);
}

void NoteBinding::onNoteEdited(qsizetype position, qsizetype removed, qsizetype added)
{
    // Before fill() the note lives in the model alone; the binding's own write is in the
    // document already.
    if (!m_filled || m_activity == Activity::WritingModel)
        return;
    apply({position, removed, m_state.noteContent().mid(position, added)});
}

void NoteBinding::apply(const NoteEdit &edit)
{
    const qsizetype length = m_positions.noteLength();
    const bool wholeNote = edit.position == 0 && edit.removed == length && length > 0;
    const bool fits = edit.position >= 0 && edit.removed >= 0
        && edit.position + edit.removed <= length && isRepresentable(edit.inserted)
        && !(LinePieces::joinsLines(*m_editor.document())
             && edit.inserted.contains(QChar::LineSeparator))
        // A change that would part a CR LF, which the document holds as one line feed.
        && m_positions.isWhole(edit.position) && m_positions.isWhole(edit.position + edit.removed);
    if (!fits || wholeNote) {
        reload();
        return;
    }
    if (edit.removed == 0 && edit.inserted.isEmpty())
        return;

    // The user's caret and selection stay where they were: at the insertion point they stay
    // before the new text.
    const QTextCursor user = m_editor.textCursor();
    const qsizetype userAnchor = toNote(user.anchor());
    const qsizetype userPosition = toNote(user.position());
    {
        const QScopedValueRollback changing(m_activity, Activity::ChangingDocument);
        QTextCursor cursor(m_editor.document());
        cursor.beginEditBlock();
        cursor.setPosition(toDocument(edit.position));
        cursor.setPosition(toDocument(edit.position + edit.removed), QTextCursor::KeepAnchor);
        LinePieces::insertNoteText(cursor, edit.inserted);
        cursor.endEditBlock();
    }
    tidyBlocks();
    const auto follow = [&edit](qsizetype at) {
        if (at <= edit.position)
            return at;
        if (at >= edit.position + edit.removed)
            return at - edit.removed + edit.inserted.size();
        return edit.position;
    };
    QTextCursor kept = m_editor.textCursor();
    kept.setPosition(toDocument(follow(userAnchor)));
    kept.setPosition(toDocument(follow(userPosition)), QTextCursor::KeepAnchor);
    m_editor.setTextCursor(kept);
}
