// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/GraphemeCounter.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {
// Characters that join no cluster with a neighbour: printable ASCII and the CJK ideographs
// (none of them extends, prepends, joins or is an emoji or a Hangul jamo). Between two of them
// lies a cluster boundary whatever comes before or after.
bool isPlain(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x20 && u < 0x7F) || (u >= 0x4E00 && u <= 0x9FFF);
}

// A cluster boundary between text[at - 1] and text[at] that no other character moves.
bool isFixedBoundary(QStringView text, qsizetype at)
{
    return text[at - 1] == u'\n' || (isPlain(text[at - 1]) && isPlain(text[at]));
}
} // namespace

void GraphemeCounter::reset(const QString &text)
{
    // A copy of its own: sharing the model's text would make the model copy it on its next
    // edit.
    m_text = QString(text.constData(), text.size());
    m_count = countIn(m_text);
}

void GraphemeCounter::edit(const QString &text, qsizetype position, qsizetype removed,
                           qsizetype added)
{
    const qsizetype oldSize = m_text.size();
    const bool fits = position >= 0 && removed >= 0 && added >= 0 && position + removed <= oldSize
        && text.size() == oldSize - removed + added;
    if (!fits || (position == 0 && removed == oldSize)) {
        reset(text);
        return;
    }

    // The touched clusters: from the last fixed boundary before the edit (at the latest just
    // after a line feed) to the first one after it, both between characters the edit left
    // alone. They are the same in both texts, so the bounds hold in the new text too, shifted
    // by the change in length; a long line is not recounted whole.
    qsizetype start = position - 1;
    while (start > 0 && !isFixedBoundary(m_text, start))
        --start;
    start = std::max<qsizetype>(start, 0);
    qsizetype oldEnd = position + removed + 1;
    while (oldEnd < oldSize && !isFixedBoundary(m_text, oldEnd))
        ++oldEnd;
    oldEnd = std::min(oldEnd, oldSize);
    const qsizetype newEnd = oldEnd - removed + added;

    m_count -= countIn(QStringView(m_text).sliced(start, oldEnd - start));
    m_count += countIn(QStringView(text).sliced(start, newEnd - start));
    m_text.replace(position, removed, text.constData() + position, added);
}

qsizetype GraphemeCounter::countIn(QStringView text)
{
    if (text.isEmpty())
        return 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype clusters = 0;
    while (finder.toNextBoundary() != -1)
        ++clusters;
    return clusters;
}
