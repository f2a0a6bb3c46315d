// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

/// What Jotshelf prints: each write goes out as UTF-8 at once (flushed), so the lines appear one
/// by one also when standard output or standard error is a pipe or a file.
namespace ConsoleOutput {

/// Writes one diagnostic line to standard output.
void printLine(const QString &line);

/// Writes "jotshelf: " and \a message as one line to standard error.
void printError(const QString &message);

/// Writes \a bytes to standard output as they are (a note printed by `--print`, help text);
/// false when they could not all be written.
bool write(const QByteArray &bytes);

/// Writes \a bytes to standard error as they are.
void writeError(const QByteArray &bytes);

} // namespace ConsoleOutput
