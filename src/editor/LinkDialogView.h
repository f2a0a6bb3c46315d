// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLineEdit;
class QPushButton;

/// The small dialog that asks for a link text and a URL. "Insert" (Return or Ctrl+Return, while
/// both fields hold something) hands both, exactly as typed, to the insert callback and closes
/// the dialog; "Cancel" (Escape or Ctrl+Escape) closes it.
class LinkDialogView : public QDialog
{
    Q_OBJECT

public:
    using InsertCallback = std::function<void(const QString &text, const QString &url)>;

    static constexpr int dialogWidth = 300;
    static constexpr int rowSpacing = 16;
    static constexpr int fieldSpacing = 8;

    /// \a onInsert receives the link text and the URL when "Insert" is chosen. The dialog
    /// stands above the drawer, which is placed without the window manager, so it is placed
    /// that way too and paints its own border.
    explicit LinkDialogView(InsertCallback onInsert, QWidget *parent = nullptr);

    QString linkText() const;
    void setLinkText(const QString &text);
    QString linkURL() const;
    void setLinkURL(const QString &url);

    /// True while both fields hold at least one character (white space counts).
    bool canInsert() const;

    /// "Insert": hands both values to the callback, then closes the dialog.
    void insert();
    /// "Cancel": closes the dialog; the fields keep what was typed.
    void cancel();

    /// Shows the dialog window-modal, centred over \a host's window, and gives it the keyboard
    /// focus.
    void present(QWidget *host);

    /// Closes the dialog, first handing the keyboard back to the window it stands over.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void updateInsertButton();

    InsertCallback m_onInsert;
    QLineEdit *m_textField = nullptr;
    QLineEdit *m_urlField = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_insertButton = nullptr;
};
