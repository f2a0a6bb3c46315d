// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/UserPrompts.h"

#include <QStringList>

/// Answers the application's questions from a script and records what it was asked.
class FakePrompts : public UserPrompts
{
public:
    bool clearAllAnswer = false;
    QString exportFileAnswer;
    int clearAllAsked = 0;
    int exportAsked = 0;
    QStringList errors;
    /// The window the last question or message was given.
    QWidget *lastParent = nullptr;

    bool confirmClearAll(QWidget *parent) override
    {
        lastParent = parent;
        ++clearAllAsked;
        return clearAllAnswer;
    }

    QString chooseExportFile(QWidget *parent) override
    {
        lastParent = parent;
        ++exportAsked;
        return exportFileAnswer;
    }

    void showError(QWidget *parent, const QString &title, const QString &text) override
    {
        lastParent = parent;
        errors.append(title + QLatin1String(": ") + text);
    }
};
