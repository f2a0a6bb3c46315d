#include "editor/NoteBinding.h"

#include "app/AppState.h"

#include <QPlainTextEdit>
#include <QScopedValueRollback>
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
    reload();
}

bool NoteBinding::isRepresentable(QStringView text)
{
    return std::none_of(text.begin(), text.end(), isBreakTheDocumentRewrites);
}

QString NoteBinding::documentForm(QStringView note)
{
    QString result;
    result.reserve(note.size());
    for (qsizetype i = 0; i < note.size(); ++i) {
        const QChar c = note[i];
        if (c == u'\r') {
            if (i + 1 < note.size() && note[i + 1] == u'\n')
                ++i;
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
    // toRawText() keeps U+00A0 and U+2028 as they are, unlike toPlainText().
    QString text = m_editor.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

qsizetype NoteBinding::documentLength() const
{
    // A document always ends with one block break of its own.
    return m_editor.document()->characterCount() - 1;
}

void NoteBinding::reload()
{
    m_pending.clear();
    const QString &note = m_state.noteContent();
    const QScopedValueRollback applying(m_applyingModelEdit, true);
    m_writeBackPending = !isRepresentable(note);
    m_editor.setPlainText(m_writeBackPending ? documentForm(note) : note);
    m_editor.moveCursor(QTextCursor::End);
}

void NoteBinding::onDocumentChange(int position, int removed, int added)
{
    if (m_applyingModelEdit)
        return;
    const QScopedValueRollback inChange(m_inDocumentChange, true);
    if (m_writeBackPending) {
        writeBackDocument();
        return;
    }

    const qsizetype length = documentLength();
    const qsizetype from = std::clamp<qsizetype>(position, 0, length);
    const qsizetype count = std::clamp<qsizetype>(added, 0, length - from);
    QString inserted;
    if (count > 0) {
        QTextCursor cursor(m_editor.document());
        cursor.setPosition(int(from));
        cursor.setPosition(int(from + count), QTextCursor::KeepAnchor);
        inserted = cursor.selectedText();
        inserted.replace(QChar::ParagraphSeparator, u'\n');
    }

    m_expectEcho = true;
    m_echoMismatch = false;
    m_state.replaceNoteRange(from, std::max(removed, 0), inserted);
    m_expectEcho = false;
    // The document reported a range the model could not follow exactly: the document is what
    // the user sees, so it becomes the note.
    if (m_echoMismatch)
        writeBackDocument();
}

void NoteBinding::writeBackDocument()
{
    m_pending.clear();
    m_writeBackPending = false;
    m_expectEcho = true;
    m_state.setNoteContent(documentText());
    m_expectEcho = false;
}

void NoteBinding::onNoteEdited(qsizetype position, qsizetype removed, qsizetype added)
{
    if (m_expectEcho) {
        m_expectEcho = false;
        m_echoMismatch = m_state.noteContent().size() != documentLength();
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
    if (m_pending.empty() || m_inDocumentChange || m_applyingModelEdit)
        return;
    const std::vector<ModelEdit> pending = std::exchange(m_pending, {});
    for (const ModelEdit &edit : pending) {
        if (!apply(edit, true))
            break;
    }
}

bool NoteBinding::apply(const ModelEdit &edit, bool followsUserEdit)
{
    const qsizetype length = documentLength();
    const bool wholeNote = edit.position == 0 && edit.removed == length && length > 0;
    const bool fits = !m_writeBackPending && edit.position >= 0 && edit.removed >= 0
        && edit.position + edit.removed <= length && isRepresentable(edit.text);
    if (!fits || (wholeNote && !followsUserEdit)) {
        reload();
        return false;
    }
    if (edit.removed == 0 && edit.text.isEmpty())
        return true;

    {
        const QScopedValueRollback applying(m_applyingModelEdit, true);
        QTextCursor cursor(m_editor.document());
        // A change that follows from the user's own edit is undone together with it.
        if (followsUserEdit)
            cursor.joinPreviousEditBlock();
        else
            cursor.beginEditBlock();
        cursor.setPosition(int(edit.position));
        cursor.setPosition(int(edit.position + edit.removed), QTextCursor::KeepAnchor);
        cursor.insertText(edit.text);
        cursor.endEditBlock();
    }
    // The user's caret stays where they type; after a change of the model's own it goes to
    // the end, where that change was made.
    if (!followsUserEdit)
        m_editor.moveCursor(QTextCursor::End);
    return true;
}
