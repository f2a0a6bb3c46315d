// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <QTextBlockFormat>

#include <utility>
#include <vector>

class QTextBlock;
class QTextCursor;
class QTextDocument;

/**
 * The editor's document holds a long line of the note as several blocks, its pieces: Qt lays a
 * block out whole on every change to it, so a keystroke in a line of megabytes would lay out
 * megabytes. A block that continues the line of the block before it carries a mark in its
 * format; the block break before it is no character of the note.
 *
 * Each piece gets a mark of its own. Qt gives the block made by a typed line break the format
 * of the block it was split from, so a block whose mark equals the one before it is a line of
 * its own, not a piece.
 *
 * The other way round, short lines share a block: every block costs the document about 130
 * bytes of tables, more than a line of 40 characters itself, so a document that joins lines
 * holds up to joinedLength characters of consecutive lines in one block, separated by line
 * separators (U+2028), which Qt lays out as line breaks. In such a document every line
 * separator is a line feed of the note; a document joins lines only while the note holds no
 * line separator of its own.
 */
namespace LinePieces {

/// The longest piece a line is cut into.
constexpr qsizetype pieceLength = 2048;
/// A block that typing made longer than this is cut again.
constexpr qsizetype longestBlock = 4 * pieceLength;
/// The most characters of short lines a document that joins lines puts into one block.
constexpr qsizetype joinedLength = pieceLength / 4;

/// Whether \a document joins short lines into blocks (its line separators are line feeds).
bool joinsLines(const QTextDocument &document);
void setJoinsLines(QTextDocument &document, bool joins);

/// The text a document that is filled at once takes for \a note: line feeds between blocks,
/// line separators between the lines a block joins when \a joinLines, a paragraph separator
/// before each piece of a long line. \a pieceBreaks receives the positions of those.
QString documentText(QStringView note, bool joinLines, std::vector<int> &pieceBreaks);

/// True when \a block continues the line of the block before it.
bool continuesLine(const QTextBlock &block);
/// True when \a block carries a mark, whether it continues a line or copied the mark.
bool isMarked(const QTextBlock &block);

/// Inserts \a text at \a cursor (replacing its selection) as the note holds it: line feeds
/// (and CR LF, CR, U+2029 and the frame marks, as QTextCursor::insertText() reads them) become
/// block breaks of a plain format, or line separators between lines the block joins, and
/// lines longer than pieceLength are cut into pieces.
void insertNoteText(QTextCursor &cursor, QStringView text);

/// The format of a block that continues the line of the block before it, with a mark of its
/// own.
QTextBlockFormat pieceFormat();

/// Cuts \a block, when it holds more than \a longest characters, into pieces.
void cutIfTooLong(QTextDocument &document, const QTextBlock &block, qsizetype longest);

/// The note's text between the document positions \a from and \a to: the break before a
/// continuing block is left out, the others are line feeds, as are the line separators of a
/// document that joins lines.
QString noteText(const QTextDocument &document, int from, int to);

/// The document range of the note's line that holds \a position, without its line feed: from
/// the break or line separator before it to the one after it, over the breaks between pieces.
std::pair<int, int> noteLine(const QTextDocument &document, int position);

/// Where a piece of \a line that starts at \a from ends: at most pieceLength further on,
/// preferably after a space, never inside a surrogate pair or before a combining mark.
qsizetype pieceEnd(QStringView line, qsizetype from);

} // namespace LinePieces
