// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/UserPrompts.h"

#include <QCoreApplication>

/// Asks with Qt's dialogs: a warning message box and a save-file dialog.
class DialogPrompts : public UserPrompts
{
    Q_DECLARE_TR_FUNCTIONS(DialogPrompts)

public:
    bool confirmClearAll(QWidget *parent) override;
    QString chooseExportFile(QWidget *parent) override;
    void showError(QWidget *parent, const QString &title, const QString &text) override;
};
