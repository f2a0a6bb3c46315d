// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

/// Counts the user-perceived characters (extended grapheme clusters) of a text that is edited
/// piece by piece, without reading the whole text on every edit.
///
/// A grapheme cluster never spans a line feed (a cluster always ends after one; CR LF is one
/// cluster that ends with it), so the text splits into independent lines, each ending just
/// after its line feed. An edit recounts only the lines it touches: their old count comes from
/// the counter's own copy of the text, their new one from the edited text.
class GraphemeCounter
{
public:
    /// Counts \a text from scratch.
    void reset(const QString &text);

    /// Takes in the edit that turned the previous text into \a text: \a removed characters at
    /// \a position gave way to \a added ones. An edit that does not fit the previous text, or
    /// that replaces all of it, is counted from scratch.
    void edit(const QString &text, qsizetype position, qsizetype removed, qsizetype added);

    qsizetype count() const { return m_count; }

    /// The number of grapheme clusters of \a text.
    static qsizetype countIn(QStringView text);

private:
    QString m_text;
    qsizetype m_count = 0;
};
