#pragma once

#include <QString>
#include <QStringView>
#include <QTextBlockFormat>

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
 */
namespace LinePieces {

/// The longest piece a line is cut into.
constexpr qsizetype pieceLength = 2048;
/// A block that typing made longer than this is cut again.
constexpr qsizetype longestBlock = 4 * pieceLength;

/// True when \a block continues the line of the block before it.
bool continuesLine(const QTextBlock &block);
/// True when \a block carries a mark, whether it continues a line or copied the mark.
bool isMarked(const QTextBlock &block);

/// Inserts \a text at \a cursor (replacing its selection) as the note holds it: line feeds
/// (and CR LF, CR, U+2029 and the frame marks, as QTextCursor::insertText() reads them) become
/// block breaks of a plain format, and lines longer than pieceLength are cut into pieces.
void insertNoteText(QTextCursor &cursor, QStringView text);

/// The format of a block that continues the line of the block before it, with a mark of its
/// own.
QTextBlockFormat pieceFormat();

/// Cuts \a block, when it holds more than \a longest characters, into pieces.
void cutIfTooLong(QTextDocument &document, const QTextBlock &block, qsizetype longest);

/// Where the pieces of \a text's lines start when its lines are cut into pieces: each
/// position is that of the first character of a piece that continues a line.
std::vector<qsizetype> pieceStarts(QStringView text);

/// The note's text between the document positions \a from and \a to: the break before a
/// continuing block is left out, the others are line feeds.
QString noteText(const QTextDocument &document, int from, int to);

/// Where a piece of \a line that starts at \a from ends: at most pieceLength further on,
/// preferably after a space, never inside a surrogate pair or before a combining mark.
qsizetype pieceEnd(QStringView line, qsizetype from);

} // namespace LinePieces
