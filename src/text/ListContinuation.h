// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

#include <optional>

/// The list rule: a line break typed after a list item continues the list. Pure functions.
namespace ListContinuation {

/// The marker for the line after \a line ("• ", "- ", "* " or the next number and ". "), or
/// nothing when \a line is no list item.
std::optional<QString> getNextFormattedLine(QStringView line);

/// The marker to append to the whole note \a text: only when the note ends with a line break
/// that follows a list item. Looks at the note's last two lines only.
std::optional<QString> markerToAppend(QStringView text);

/// markerToAppend() of \a note once \a removed of its characters at \a position have given
/// way to \a inserted, without making that change: only a last line that the change cuts into
/// is put together.
std::optional<QString> markerAfterEdit(QStringView note, qsizetype position, qsizetype removed,
                                       QStringView inserted);

} // namespace ListContinuation
