// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QWidget>

class AppState;
class LinkDialogView;
class NoteBinding;
class NoteEditor;
class RoundedCorners;
class TransparentGradientView;

/// The drawer's content: the note's plain-text editor, white monospaced text on black, in
/// front of the gradient background, with rounded corners. Its binding continues lists as the
/// user types; it opens the link dialog on Ctrl+K. It follows the model's size, margins and
/// display switches at once.
class DrawerView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int cornerRadius = 2;
    static constexpr int verticalInset = 12;

    explicit DrawerView(AppState &state, QWidget *parent = nullptr);
    ~DrawerView() override;

    QSize sizeHint() const override;
    /// The largest stack the drawer's screen holds; invalid for no limit.
    void setSizeLimit(QSize limit);

    NoteEditor *editor() const { return m_editor; }
    NoteBinding *binding() const { return m_binding; }
    TransparentGradientView *background() const { return m_background; }
    /// The link dialog; null until Ctrl+K first opened it.
    LinkDialogView *linkDialog() const { return m_linkDialog; }

    bool isTextFieldFocused() const { return m_isTextFieldFocused; }
    /// Whether the link dialog is open; the dialog holds its fields' texts.
    bool showLinkDialog() const;
    QString linkText() const;
    QString linkURL() const;

    /// Ctrl+K: while smart link insertion is on, clears the fields and opens the link dialog.
    void requestLinkInsertion();
    /// Empties both fields of the link dialog.
    void prepareLinkInsertion();
    /// Appends "[text](url)" to the very end of the note, then closes and clears the dialog.
    void insertMarkdownLink(const QString &text, const QString &url);
    /// Whether a change of the note's length fits (AppState::noteFits()); the user hears once
    /// of the changes refused in a row.
    bool noteFits(qsizetype removed, QStringView inserted);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Look
    {
        bool useCustomColors = false;
        QColor textColor = Qt::white;
        QColor backgroundColor = Qt::black;
        bool hideScrollIndicators = true;
        bool highContrastMode = false;
    };

    void applyLook();
    void applyMargins(double margins);
    void placeStack();
    void focusEditor();
    void onLinkDialogFinished();

    AppState &m_state;
    TransparentGradientView *m_background = nullptr;
    NoteEditor *m_editor = nullptr;
    RoundedCorners *m_corners = nullptr;
    NoteBinding *m_binding = nullptr;
    LinkDialogView *m_linkDialog = nullptr;
    Look m_look;
    QSize m_stackSize;
    QSize m_sizeLimit;

    bool m_isTextFieldFocused = false;
    /// The user was told the note is full, and nothing has fitted since.
    bool m_toldNoteFull = false;
};
