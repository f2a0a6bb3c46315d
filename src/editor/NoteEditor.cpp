// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/NoteEditor.h"

#include "editor/LinePieces.h"
#include "editor/NoteDocumentLayout.h"
#include "text/LinkFinder.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <memory>
#include <utility>

NoteEditor::NoteEditor(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("noteEditor"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(false);
    // A document of its own, laid out without Qt's walks over every block (see
    // NoteDocumentLayout).
    auto *notes = new QTextDocument(this);
    auto *layout = new NoteDocumentLayout(notes);
    notes->setDocumentLayout(layout);
    setDocument(notes);
    layout->setWrapWidget(viewport());
    document()->setDocumentMargin(0);
    // The editor fills its whole area, insets included, in one colour; the text area shows it.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    viewport()->setAutoFillBackground(false);
    // Moves without a button pressed tell whether the pointer is over a link.
    viewport()->setMouseTracking(true);
    connect(document(), &QTextDocument::contentsChange, this, &NoteEditor::onContentsChange);
}

bool NoteEditor::hasLongRun(QStringView text)
{
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > longestRunWrappedAtWords)
            return true;
    }
    return false;
}

void NoteEditor::fitWrapToRun(bool hasLongRun)
{
    const QTextOption::WrapMode mode
        = hasLongRun ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != mode)
        setWordWrapMode(mode);
}

// A typed character cannot make a run long enough to matter; a loaded or inserted text is
// looked at once, as the document takes it, and a new note decides afresh.
void NoteEditor::onContentsChange(int position, int, int added)
{
    const bool wholeDocument = position == 0 && added >= document()->characterCount() - 1;
    if (!wholeDocument
        && (added < longestRunWrappedAtWords || wordWrapMode() == QTextOption::WrapAnywhere))
        return;
    bool found = false;
    const QTextBlock last = document()->findBlock(position + added);
    for (QTextBlock block = document()->findBlock(position); block.isValid() && !found;
         block = block.next()) {
        found = hasLongRun(block.text());
        if (block == last)
            break;
    }
    if (found || wholeDocument)
        fitWrapToRun(found);
}

bool NoteEditor::isLinkShortcut(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return event->key() == Qt::Key_K && modifiers == Qt::ControlModifier;
}

void NoteEditor::setInsets(int horizontal, int vertical)
{
    setViewportMargins(horizontal, vertical, horizontal, vertical);
}

bool NoteEditor::event(QEvent *event)
{
    // Accepting the override turns Ctrl+K into a key press for this editor, so neither a
    // shortcut nor the editor's own key binding acts on it before keyPressEvent().
    if (event->type() == QEvent::ShortcutOverride
        && isLinkShortcut(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void NoteEditor::keyPressEvent(QKeyEvent *event)
{
    if (isLinkShortcut(event)) {
        event->accept();
        Q_EMIT linkShortcutPressed();
        return;
    }
    // Keys that type something; Backspace, Delete and Escape carry a control character too.
    const bool types = !event->text().isEmpty()
        && (event->text().front().isPrint() || event->key() == Qt::Key_Return
            || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Tab);
    if (types && !mayInsert(event->text())) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_Control)
        updateLinkCursor(event->modifiers() | Qt::ControlModifier);
}

void NoteEditor::keyReleaseEvent(QKeyEvent *event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Control)
        updateLinkCursor(event->modifiers() & ~Qt::ControlModifier);
}

std::optional<QUrl> NoteEditor::linkAt(QPoint point) const
{
    const QTextCursor cursor = cursorForPosition(point);
    const QTextBlock block = cursor.block();
    qsizetype position = cursor.position() - block.position();
    // The caret lands on the nearer edge of a character: take the character the point is on.
    if (position > 0 && point.x() < cursorRect(cursor).left())
        --position;
    // A link lies within one line: a line separator ends it as a block break does.
    const QString text = block.text();
    const qsizetype start
        = position > 0 ? text.lastIndexOf(QChar::LineSeparator, position - 1) + 1 : 0;
    qsizetype end = text.indexOf(QChar::LineSeparator, position);
    if (end < 0)
        end = text.size();
    const auto link
        = LinkFinder::linkAt(QStringView(text).sliced(start, end - start), position - start);
    if (!link)
        return std::nullopt;
    const QUrl url(link->target, QUrl::TolerantMode);
    if (!LinkFinder::mayOpen(url))
        return std::nullopt;
    return url;
}

void NoteEditor::mousePressEvent(QMouseEvent *event)
{
    m_pressedLink.reset();
    if (event->button() == Qt::LeftButton && event->modifiers() == Qt::ControlModifier) {
        if (const auto url = linkAt(event->position().toPoint())) {
            m_pressedLink = url;
            event->accept();
            return;
        }
    }
    // The third click of a triple click, as Qt's editor tells it.
    const QPoint point = event->position().toPoint();
    const bool thirdClick = event->button() == Qt::LeftButton && m_sinceDoubleClick.isValid()
        && !m_sinceDoubleClick.hasExpired(QApplication::doubleClickInterval())
        && (point - m_doubleClickPoint).manhattanLength() < QApplication::startDragDistance();
    m_sinceDoubleClick.invalidate();
    const int clicked = thirdClick ? cursorForPosition(point).position() : 0;
    QPlainTextEdit::mousePressEvent(event);
    if (!thirdClick)
        return;
    // Qt selects the block; the note's line is less when the block joins lines, more when the
    // line is in pieces.
    const auto [start, end] = LinePieces::noteLine(*document(), clicked);
    QTextCursor line(document());
    line.setPosition(start);
    line.setPosition(std::min(end + 1, document()->characterCount() - 1), QTextCursor::KeepAnchor);
    setTextCursor(line);
}

void NoteEditor::mouseDoubleClickEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_sinceDoubleClick.start();
        m_doubleClickPoint = event->position().toPoint();
    }
}

void NoteEditor::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_pressedLink && event->button() == Qt::LeftButton) {
        const QUrl pressed = *std::exchange(m_pressedLink, std::nullopt);
        if (linkAt(event->position().toPoint()) == pressed)
            Q_EMIT linkActivated(pressed);
        event->accept();
        return;
    }
    QPlainTextEdit::mouseReleaseEvent(event);
}

void NoteEditor::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::NoButton)
        showLinkCursor(event->modifiers() == Qt::ControlModifier
                       && linkAt(event->position().toPoint()));
    if (m_pressedLink) {
        event->accept();
        return;
    }
    QPlainTextEdit::mouseMoveEvent(event);
}

void NoteEditor::updateLinkCursor(Qt::KeyboardModifiers modifiers)
{
    const QPoint point = viewport()->mapFromGlobal(QCursor::pos());
    showLinkCursor(modifiers == Qt::ControlModifier && viewport()->rect().contains(point)
                   && linkAt(point));
}

void NoteEditor::showLinkCursor(bool overLink)
{
    if (overLink == m_showsLinkCursor)
        return;
    m_showsLinkCursor = overLink;
    viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void NoteEditor::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    Q_EMIT focusChanged(true);
}

void NoteEditor::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    showLinkCursor(false);
    Q_EMIT focusChanged(false);
}

void NoteEditor::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (!m_extraActions.isEmpty()) {
        menu->addSeparator();
        menu->addActions(m_extraActions);
    }
    menu->exec(event->globalPos());
}

bool NoteEditor::mayInsert(QStringView inserted) const
{
    const QTextCursor cursor = textCursor();
    return !m_changeCheck
        || m_changeCheck(cursor.selectionEnd() - cursor.selectionStart(), inserted);
}

void NoteEditor::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty() && !mayInsert(event->commitString())) {
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void NoteEditor::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly() || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // Qt's own paste first builds the text as a document of its own and then copies that in,
    // which more than doubles the time a large paste holds the application up.
    const QString text = source->text();
    if (!mayInsert(text))
        return;
    QTextCursor cursor = textCursor();
    // Long lines go in as pieces, so that no block is laid out whole (and none holds a run
    // long enough to make lines wrap anywhere).
    LinePieces::insertNoteText(cursor, text);
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData *NoteEditor::createMimeDataFromSelection() const
{
    // The note's own text: the breaks between the pieces of a long line are none of it.
    const QTextCursor cursor = textCursor();
    auto *data = new QMimeData;
    data->setText(
        LinePieces::noteText(*document(), cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}
