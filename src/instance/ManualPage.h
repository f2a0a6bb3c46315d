// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/// The manual page jotshelf(1) and the bash completion, made from the option table at build
/// time (`jotshelf --man`, `jotshelf --bash-completion`), so they never drift from --help.
namespace ManualPage {

/// The manual page in roff (man macros).
QString roff();

/// A bash completion script for `jotshelf`.
QString bashCompletion();

/// \a text with roff's special characters escaped, safe on a line of its own.
QString escaped(const QString &text);

} // namespace ManualPage
