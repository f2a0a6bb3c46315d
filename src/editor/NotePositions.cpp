// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/NotePositions.h"

#include "editor/LinePieces.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <utility>

NotePositions::NotePositions(const QTextDocument &document)
    : m_document(document)
{ }

void NotePositions::reset(std::vector<int> breaks, std::vector<int> crlf)
{
    m_breaks = std::move(breaks);
    m_crlf = std::move(crlf);
    // From the positions of the text without piece breaks to the document's: each break before
    // a line feed moves it by one.
    for (size_t i = 0, before = 0; i < m_crlf.size(); ++i) {
        while (before < m_breaks.size() && m_breaks[before] - int(before) <= m_crlf[i])
            ++before;
        m_crlf[i] += int(before);
    }
}

qsizetype NotePositions::documentLength() const
{
    // A document always ends with one block break of its own.
    return m_document.characterCount() - 1;
}

qsizetype NotePositions::noteLength() const
{
    return documentLength() - qsizetype(m_breaks.size()) + qsizetype(m_crlf.size());
}

qsizetype NotePositions::toNote(int position) const
{
    const auto breaks = std::lower_bound(m_breaks.begin(), m_breaks.end(), position);
    const auto crs = std::lower_bound(m_crlf.begin(), m_crlf.end(), position);
    return position - (breaks - m_breaks.begin()) + (crs - m_crlf.begin());
}

int NotePositions::toDocument(qsizetype position) const
{
    if (m_crlf.empty()) {
        // The first break i with m_breaks[i] - i >= position (the note's position of the
        // break) comes after it: the i breaks before it shift it by i.
        qsizetype low = 0;
        qsizetype high = qsizetype(m_breaks.size());
        while (low < high) {
            const qsizetype middle = (low + high) / 2;
            if (m_breaks[size_t(middle)] - middle >= position)
                high = middle;
            else
                low = middle + 1;
        }
        return int(position + low);
    }
    // The first document position whose note position is not before it (toNote() only grows):
    // the CR of a CR LF maps to its line feed.
    qsizetype low = 0;
    qsizetype high = documentLength();
    while (low < high) {
        const qsizetype middle = (low + high) / 2;
        if (toNote(int(middle)) >= position)
            high = middle;
        else
            low = middle + 1;
    }
    return int(low);
}

bool NotePositions::isWhole(qsizetype position) const
{
    return m_crlf.empty() || toNote(toDocument(position)) == position;
}

bool NotePositions::isPieceBreak(int position) const
{
    return std::binary_search(m_breaks.begin(), m_breaks.end(), position);
}

void NotePositions::follow(int position, int removed, int added)
{
    const auto firstCr = std::lower_bound(m_crlf.begin(), m_crlf.end(), position);
    const auto lastCr = std::lower_bound(firstCr, m_crlf.end(), position + removed);
    for (auto it = m_crlf.erase(firstCr, lastCr); it != m_crlf.end(); ++it)
        *it += added - removed;

    const auto first = std::lower_bound(m_breaks.begin(), m_breaks.end(), position);
    const auto last = std::lower_bound(first, m_breaks.end(), position + removed);
    const auto kept = m_breaks.erase(first, last);
    for (auto it = kept; it != m_breaks.end(); ++it)
        *it += added - removed;
    // The breaks the change brought: blocks in its range that continue a line.
    std::vector<int> found;
    for (QTextBlock block = m_document.findBlock(position); block.isValid(); block = block.next()) {
        const int separator = block.position() + block.length() - 1;
        if (separator >= position + added)
            break;
        if (separator >= position && LinePieces::continuesLine(block.next()))
            found.push_back(separator);
    }
    m_breaks.insert(kept, found.begin(), found.end());
}
