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
    return LinePieces::noteText(*m_editor.document(), 0, int(documentLength()));
}

qsizetype NoteBinding::documentLength() const
{
    // A document always ends with one block break of its own.
    return m_editor.document()->characterCount() - 1;
}

qsizetype NoteBinding::noteLength() const
{
    return documentLength() - qsizetype(m_breaks.size()) + qsizetype(m_crlf.size());
}

qsizetype NoteBinding::toNote(int position) const
{
    const auto breaks = std::lower_bound(m_breaks.begin(), m_breaks.end(), position);
    const auto crs = std::lower_bound(m_crlf.begin(), m_crlf.end(), position);
    return position - (breaks - m_breaks.begin()) + (crs - m_crlf.begin());
}

int NoteBinding::toDocument(qsizetype position) const
{
    if (m_crlf.empty()) {
        // The first break i with m_breaks[i] - i >= position (the note's position of the
        // break) comes after it: the i breaks before it shift it by i.
        qsizetype low = 0;
        qsizetype high = qsizetype(m_breaks.size());
        while (low < high) {
            const qsizetype middle = (low + high) / 2;
            if (m_breaks[size_t(middle)] - middle >= position)
                high = middle;
            else
                low = middle + 1;
        }
        return int(position + low);
    }
    // The first document position whose note position is not before it (toNote() only grows):
    // the CR of a CR LF maps to its line feed.
    qsizetype low = 0;
    qsizetype high = documentLength();
    while (low < high) {
        const qsizetype middle = (low + high) / 2;
        if (toNote(int(middle)) >= position)
            high = middle;
        else
            low = middle + 1;
    }
    return int(low);
}

void NoteBinding::reload()
{
    m_pending.clear();
    m_tidyFrom = 1;
    m_tidyTo = 0;
    const QString &note = m_state.noteContent();
    const QScopedValueRollback applying(m_applyingModelEdit, true);
    const QScopedValueRollback tidying(m_tidying, true);
    m_crlf.clear();
    QString shown = isRepresentable(note) ? note : documentForm(note, &m_crlf);
    QTextDocument *document = m_editor.document();

    // Long lines reach the document already in pieces, so that no block is ever laid out
    // whole: a block break before each piece, then the piece's mark. Short lines share blocks
    // unless the note has line separators of its own, which the document could then not tell
    // from the ones that join lines.
    const bool joinLines = !shown.contains(QChar::LineSeparator);
    LinePieces::setJoinsLines(*document, joinLines);
    shown = LinePieces::documentText(shown, joinLines, m_breaks);
    // From the shown text's positions to the document's: each break before a line feed moves
    // it by one.
    for (size_t i = 0, breaks = 0; i < m_crlf.size(); ++i) {
        while (breaks < m_breaks.size() && m_breaks[breaks] - int(breaks) <= m_crlf[i])
            ++breaks;
        m_crlf[i] += int(breaks);
    }
    m_editor.setPlainText(shown);
    shown = QString();
    if (!m_breaks.empty()) {
        // Without undo: a loaded note is a fresh start.
        document->setUndoRedoEnabled(false);
        QTextCursor cursor(document);
        cursor.beginEditBlock();
        for (const int separator : m_breaks)
            QTextCursor(document->findBlock(separator + 1))
                .setBlockFormat(LinePieces::pieceFormat());
        cursor.endEditBlock();
        document->setUndoRedoEnabled(true);
    }
    m_editor.moveCursor(QTextCursor::End);
}

void NoteBinding::followCrLf(int position, int removed, int added)
{
    const auto first = std::lower_bound(m_crlf.begin(), m_crlf.end(), position);
    const auto last = std::lower_bound(first, m_crlf.end(), position + removed);
    for (auto it = m_crlf.erase(first, last); it != m_crlf.end(); ++it)
        *it += added - removed;
}

qsizetype NoteBinding::followBreaks(int position, int removed, int added)
{
    const auto first = std::lower_bound(m_breaks.begin(), m_breaks.end(), position);
    const auto last = std::lower_bound(first, m_breaks.end(), position + removed);
    const qsizetype gone = last - first;
    const auto kept = m_breaks.erase(first, last);
    for (auto it = kept; it != m_breaks.end(); ++it)
        *it += added - removed;

    std::vector<int> found;
    const QTextDocument *document = m_editor.document();
    for (QTextBlock block = document->findBlock(position); block.isValid(); block = block.next()) {
        const int separator = block.position() + block.length() - 1;
        if (separator >= position + added)
            break;
        if (separator >= position && LinePieces::continuesLine(block.next()))
            found.push_back(separator);
    }
    m_breaks.insert(kept, found.begin(), found.end());
    return gone;
}

void NoteBinding::onDocumentChange(int position, int removed, int added)
{
    if (!m_filled || m_tidying)
        return;
    const qsizetype length = documentLength();
    position = std::clamp<int>(position, 0, int(length));
    added = std::clamp<int>(added, 0, int(length) - position);
    removed = std::max(removed, 0);
    // The note's range of the change, taken before the maps follow it: a CR LF whose line feed
    // goes goes whole.
    const qsizetype from = toNote(position);
    const qsizetype noteRemoved = toNote(position + removed) - from;
    followBreaks(position, removed, added);
    followCrLf(position, removed, added);
    if (m_tidyFrom > m_tidyTo) {
        m_tidyFrom = position;
        m_tidyTo = position + added;
    } else {
        m_tidyFrom = std::min(m_tidyFrom, position);
        m_tidyTo = std::max(m_tidyTo + added - removed, position + added);
    }
    if (m_applyingModelEdit)
        return;
    const QScopedValueRollback inChange(m_inDocumentChange, true);
    const QString inserted = LinePieces::noteText(*m_editor.document(), position, position + added);
    m_expectEcho = true;
    m_echoMismatch = false;
    m_state.replaceNoteRange(from, std::max<qsizetype>(noteRemoved, 0), inserted);
    m_expectEcho = false;
    // The document reported a range the model could not follow exactly: the document is what
    // the user sees, so it becomes the note.
    if (m_echoMismatch)
        writeBackDocument();
}

void NoteBinding::tidyBlocks()
{
    if (m_tidyFrom > m_tidyTo)
        return;
    QTextDocument *document = m_editor.document();
    const int from = std::clamp<int>(m_tidyFrom, 0, int(documentLength()));
    const int to = std::clamp<int>(m_tidyTo, from, int(documentLength()));
    m_tidyFrom = 1;
    m_tidyTo = 0;
    const QTextBlock last = document->findBlock(to);
    std::vector<QTextBlock> copiedMarks;
    std::vector<QTextBlock> tooLong;
    for (QTextBlock block = document->findBlock(from); block.isValid(); block = block.next()) {
        // A mark the block took over from the one it was split from: the break before it is
        // a line break of the note, and the mark goes, so that undo and redo find it plain.
        if (LinePieces::isMarked(block)
            && !std::binary_search(m_breaks.begin(), m_breaks.end(), block.position() - 1))
            copiedMarks.push_back(block);
        if (block.length() - 1 > LinePieces::longestBlock)
            tooLong.push_back(block);
        if (block == last)
            break;
    }
    if (copiedMarks.empty() && tooLong.empty())
        return;
    const QScopedValueRollback applying(m_applyingModelEdit, true);
    QTextCursor cursor(document);
    // Part of the edit that made them, for undo. The binding follows the change as a whole
    // when it ends: plain blocks then, and the new pieces' breaks.
    cursor.joinPreviousEditBlock();
    for (const QTextBlock &block : copiedMarks)
        QTextCursor(block).setBlockFormat(QTextBlockFormat());
    // Cutting inserts breaks: the binding follows them like any change, the note stays.
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
    if (m_breaks.empty())
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
    if (backward && std::binary_search(m_breaks.begin(), m_breaks.end(), position - 1))
        to = position - 1;
    else if (forward && std::binary_search(m_breaks.begin(), m_breaks.end(), position))
        to = position + 1;
    if (to == position)
        return;
    cursor.setPosition(to, selects ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    m_editor.setTextCursor(cursor);
}

void NoteBinding::writeBackDocument()
{
    m_pending.clear();
    m_crlf.clear();
    m_expectEcho = true;
    m_state.setNoteContent(documentText());
    m_expectEcho = false;
}

void NoteBinding::onNoteEdited(qsizetype position, qsizetype removed, qsizetype added)
{
    if (!m_filled)
        return; // fill() reads the note as it is then
    if (m_expectEcho) {
        m_expectEcho = false;
        m_echoMismatch = m_state.noteContent().size() != noteLength();
        return;
    }
    ModelEdit edit {position, removed, m_state.noteContent().mid(position, added)};
    // The document is inside the change the user just made and cannot take another one yet.
    if (m_inDocumentChange) {
        m_pending.push_back(std::move(edit));
        return;
    }
    apply(edit, false);
}

void NoteBinding::onDocumentChanged()
{
    if (m_inDocumentChange || m_applyingModelEdit || m_tidying)
        return;
    tidyBlocks();
    if (m_pending.empty())
        return;
    const std::vector<ModelEdit> pending = std::exchange(m_pending, {});
    for (const ModelEdit &edit : pending) {
        if (!apply(edit, true))
            break;
    }
}

bool NoteBinding::apply(const ModelEdit &edit, bool followsUserEdit)
{
    const qsizetype length = noteLength();
    const bool wholeNote = edit.position == 0 && edit.removed == length && length > 0;
    const bool fits = edit.position >= 0 && edit.removed >= 0
        && edit.position + edit.removed <= length && isRepresentable(edit.text)
        && !(LinePieces::joinsLines(*m_editor.document())
             && edit.text.contains(QChar::LineSeparator))
        // A change that would part a CR LF, which the document holds as one line feed.
        && (m_crlf.empty()
            || (toNote(toDocument(edit.position)) == edit.position
                && toNote(toDocument(edit.position + edit.removed))
                    == edit.position + edit.removed));
    if (!fits || (wholeNote && !followsUserEdit)) {
        reload();
        return false;
    }
    if (edit.removed == 0 && edit.text.isEmpty())
        return true;

    // A change of the model's own (an append from outside) leaves the user's caret and
    // selection where they were: at the insertion point they stay before the new text.
    const QTextCursor user = m_editor.textCursor();
    const qsizetype userAnchor = toNote(user.anchor());
    const qsizetype userPosition = toNote(user.position());
    {
        const QScopedValueRollback applying(m_applyingModelEdit, true);
        QTextCursor cursor(m_editor.document());
        // A change that follows from the user's own edit is undone together with it.
        if (followsUserEdit)
            cursor.joinPreviousEditBlock();
        else
            cursor.beginEditBlock();
        cursor.setPosition(toDocument(edit.position));
        cursor.setPosition(toDocument(edit.position + edit.removed), QTextCursor::KeepAnchor);
        LinePieces::insertNoteText(cursor, edit.text);
        cursor.endEditBlock();
    }
    tidyBlocks();
    if (!followsUserEdit) {
        const auto follow = [&edit](qsizetype at) {
            if (at <= edit.position)
                return at;
            if (at >= edit.position + edit.removed)
                return at - edit.removed + edit.text.size();
            return edit.position;
        };
        QTextCursor kept = m_editor.textCursor();
        kept.setPosition(toDocument(follow(userAnchor)));
        kept.setPosition(toDocument(follow(userPosition)), QTextCursor::KeepAnchor);
        m_editor.setTextCursor(kept);
    }
    return true;
}
