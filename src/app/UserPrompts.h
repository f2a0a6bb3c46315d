// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;

/// The questions the application asks the user, and the failures it tells them about. The
/// application shows dialogs; tests answer from a script.
class UserPrompts
{
public:
    virtual ~UserPrompts() = default;

    /// "Clear All Data?": true when the user chose "Clear All".
    virtual bool confirmClearAll(QWidget *parent) = 0;
    /// The file to export the note to, proposed as "notes.txt"; empty when cancelled.
    virtual QString chooseExportFile(QWidget *parent) = 0;
    /// A failure the user must know about, such as an export that could not be written.
    virtual void showError(QWidget *parent, const QString &title, const QString &text) = 0;
};
