// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

class QUrl;

/// The links of a line of the note, for Ctrl+click: Markdown inline links "[text](target)" and
/// bare "http://" or "https://" addresses. Pure functions.
namespace LinkFinder {

struct Link
{
    /// The characters the link covers: [start, end) of the line.
    qsizetype start = 0;
    qsizetype end = 0;
    /// What it points to, as written.
    QString target;

    bool operator==(const Link &other) const = default;
};

/// Every link of \a line, left to right. A Markdown link covers its text and its target, with
/// brackets nested in the text and parentheses nested in the target ("<...>" targets and
/// titles after a space allowed). A bare address ends at white space or at < > " `; a full
/// stop, comma, colon, semicolon, question or exclamation mark or quote at its end is left
/// out, and so is a closing parenthesis or bracket that has no opening one in the address (so
/// "(see https://example.org/a_(b))" ends after "(b)").
QList<Link> linksIn(QStringView line);

/// The link that covers the character at \a position of \a line, if any. Lines longer than
/// searchRadius on either side are looked at only that far around the position.
std::optional<Link> linkAt(QStringView line, qsizetype position);

/// How far around a position a long line is searched.
inline constexpr qsizetype searchRadius = 4096;

/// Whether \a url may be opened from the note: http, https, mailto and file only.
bool mayOpen(const QUrl &url);

} // namespace LinkFinder
