// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The one table of jotshelf's options: the help, the manual page and the shell completion are
/// all made from it.
namespace CommandLineOptions {

struct Option
{
    /// The long name first, then a one-letter name if any.
    QStringList names;
    /// For options followed by text: how the help names it.
    QString valueName;
    QString description;
};

/// The options the user sees, in the order the help lists them.
const QList<Option> &all();

/// The usage lines, each starting with "jotshelf".
QStringList synopsis();

/// What a plain `jotshelf` does, for the help and the manual.
QString summary();

/// Names of hidden options that only the build and Jotshelf itself use.
inline const QString manualOption = QStringLiteral("man");
inline const QString completionOption = QStringLiteral("bash-completion");
inline const QString startHiddenOption = QStringLiteral("start-hidden");

} // namespace CommandLineOptions
