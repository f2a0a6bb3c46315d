// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <vector>

class QTextDocument;

/// The map between the positions of an editor's document and those of the note it shows. The
/// breaks between the pieces of a long line (LinePieces) are no characters of the note, and a
/// line feed that stands for a CR LF of the note stands for two.
class NotePositions
{
public:
    explicit NotePositions(const QTextDocument &document);

    /// Starts afresh for a document just filled: \a breaks are the document positions of the
    /// piece breaks, \a crlf the positions of the CR LF line feeds in the text without the
    /// piece breaks.
    void reset(std::vector<int> breaks, std::vector<int> crlf);
    /// Forgets the CR LFs: the note now holds the document's line feeds.
    void forgetCrLf() { m_crlf.clear(); }
    /// Keeps the map in step with a change of the document (\a removed characters at
    /// \a position gave way to \a added).
    void follow(int position, int removed, int added);

    /// The note's position of the document's \a position.
    qsizetype toNote(int position) const;
    /// The first document position of the note's \a position.
    int toDocument(qsizetype position) const;
    /// The note's length.
    qsizetype noteLength() const;
    /// False when \a position falls between the CR and the LF of a CR LF, which the document
    /// holds as one line feed.
    bool isWhole(qsizetype position) const;

    bool hasPieceBreaks() const { return !m_breaks.empty(); }
    /// True when the block break at the document's \a position is a break between pieces.
    bool isPieceBreak(int position) const;

private:
    qsizetype documentLength() const;

    const QTextDocument &m_document;
    // The document positions of the breaks between pieces, in order.
    std::vector<int> m_breaks;
    // The document positions of the line feeds that stand for a CR LF of the note, in order:
    // the note holds one character more before each.
    std::vector<int> m_crlf;
};
