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

    bool confirmClearAll(QWidget *) override
    {
        ++clearAllAsked;
        return clearAllAnswer;
    }

    QString chooseExportFile(QWidget *) override
    {
        ++exportAsked;
        return exportFileAnswer;
    }

    void showError(QWidget *, const QString &title, const QString &text) override
    {
        errors.append(title + QLatin1String(": ") + text);
    }
};
