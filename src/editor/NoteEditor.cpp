#include "editor/NoteEditor.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <memory>

NoteEditor::NoteEditor(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("noteEditor"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(false);
    document()->setDocumentMargin(0);
    // The editor fills its whole area, insets included, in one colour; the text area shows it.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    viewport()->setAutoFillBackground(false);
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
    QPlainTextEdit::keyPressEvent(event);
}

void NoteEditor::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    Q_EMIT focusChanged(true);
}

void NoteEditor::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
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
