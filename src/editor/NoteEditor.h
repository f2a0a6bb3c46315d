// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QUrl>

#include <functional>
#include <optional>

class QKeyEvent;
class QMimeData;
class QUrl;

/// The drawer's plain-text editor. Ctrl+K never edits the text: Qt's editors on X11 treat it as
/// "delete to the end of the line" before any shortcut sees it, so the editor takes the key
/// itself and only announces it. Ctrl+click on a link (a Markdown link or a bare http(s)
/// address) announces it to be opened, when it is one of the kinds that may be; while Ctrl is
/// held the pointer is a hand over such a link. A plain click only places the caret.
class NoteEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit NoteEditor(QWidget *parent = nullptr);

    /// The longest run of characters without white space that lines still wrap at word
    /// boundaries around. Looking for a boundary in a longer run costs the layout time in
    /// proportion to the run for every line it wraps to (a 400 000-character run takes 16 s to
    /// show), so a note holding one wraps anywhere.
    static constexpr qsizetype longestRunWrappedAtWords = 4096;
    /// True when \a text holds a run longer than longestRunWrappedAtWords.
    static bool hasLongRun(QStringView text);

    /// True for Ctrl+K (with or without keypad or lock keys).
    static bool isLinkShortcut(const QKeyEvent *event);

    /// The space kept free around the text: \a horizontal on the left and right, \a vertical at
    /// the top and bottom.
    void setInsets(int horizontal, int vertical);
    QMargins insets() const { return viewportMargins(); }

    /// Actions offered in the context menu below the editing actions (where there is no tray,
    /// the tray menu's items live here).
    void setExtraContextActions(const QList<QAction *> &actions) { m_extraActions = actions; }

    /// Asked before the user's typing, pasting or dropping replaces \a removed characters by
    /// \a inserted; a change it refuses is not made (the note would outgrow its file).
    using ChangeCheck = std::function<bool(qsizetype removed, QStringView inserted)>;
    void setChangeCheck(ChangeCheck check) { m_changeCheck = std::move(check); }

    /// The link that may be opened under \a point of the viewport, if any.
    std::optional<QUrl> linkAt(QPoint point) const;

Q_SIGNALS:
    /// Ctrl+K was pressed in the editor.
    void linkShortcutPressed();
    void focusChanged(bool focused);
    /// Ctrl+click on a link that may be opened.
    void linkActivated(const QUrl &url);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    /// Whether the change check takes \a inserted in place of the selection.
    bool mayInsert(QStringView inserted) const;
    void onContentsChange(int position, int removed, int added);
    void fitWrapToRun(bool hasLongRun);
    /// A hand over a link while Ctrl is held, the text cursor otherwise.
    void showLinkCursor(bool overLink);
    void updateLinkCursor(Qt::KeyboardModifiers modifiers);

    QList<QAction *> m_extraActions;
    ChangeCheck m_changeCheck;
    /// Since the last double click, to tell a third click: it selects the note's line, which
    /// may be only part of a block.
    QElapsedTimer m_sinceDoubleClick;
    QPoint m_doubleClickPoint;
    /// The link a Ctrl+click pressed on, opened when the button is released on it.
    std::optional<QUrl> m_pressedLink;
    bool m_showsLinkCursor = false;
};
