// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/LinePieces.h"

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace LinePieces {

namespace {
constexpr int markProperty = QTextFormat::UserProperty + 0x4C50;
constexpr char joinsLinesProperty[] = "jotshelfJoinsLines";
// How far back from the longest piece a space is looked for.
constexpr qsizetype spaceSearch = 256;

qlonglong markOf(const QTextBlock &block)
{
    return block.blockFormat().property(markProperty).toLongLong();
}

// The characters QTextCursor::insertText() turns into block breaks.
bool isBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0)
        || c == QChar(0xFDD1);
}

bool isCuttableBefore(QStringView line, qsizetype at)
{
    const QChar c = line[at];
    if (c.isLowSurrogate() || c.isMark() || c == QChar(0x200D) || line[at - 1] == QChar(0x200D))
        return false;
    return !(c.isHighSurrogate() && at + 1 < line.size()
             && QChar::isMark(QChar::surrogateToUcs4(c, line[at + 1])));
}

// What a text becomes in a document, part by part: runs of its characters, and between them
// the line separator that joins a line to the block before it, the block break of a line
// feed, or the block break before the next piece of a long line.
enum class Part { Text, JoinedLine, LineBreak, PieceBreak };

// Hands \a text's parts to \a take as \a text goes into a document after the \a blockLength
// characters its block already holds: a line joins the block while the block stays within
// joinedLength.
template<typename Take>
void forEachPart(QStringView text, qsizetype blockLength, bool joinLines, Take &&take)
{
    for (qsizetype start = 0;;) {
        qsizetype end = start;
        while (end < text.size() && !isBreak(text[end]))
            ++end;
        const QStringView line = text.sliced(start, end - start);
        if (start > 0) {
            const bool joins = joinLines && blockLength + 1 + line.size() <= joinedLength;
            take(joins ? Part::JoinedLine : Part::LineBreak, QStringView());
            blockLength = joins ? blockLength + 1 : 0;
        }
        qsizetype from = 0;
        while (line.size() - from > pieceLength) {
            const qsizetype to = pieceEnd(line, from);
            take(Part::Text, line.sliced(from, to - from));
            take(Part::PieceBreak, QStringView());
            from = to;
            blockLength = 0;
        }
        take(Part::Text, line.sliced(from));
        blockLength += line.size() - from;
        if (end == text.size())
            return;
        start = end + 1;
        if (text[end] == u'\r' && start < text.size() && text[start] == u'\n')
            ++start;
    }
}
} // namespace

QTextBlockFormat pieceFormat()
{
    QTextBlockFormat format;
    // Random, so that two pieces share a mark only by a chance of one in 2^63, and no counter
    // needs keeping.
    format.setProperty(markProperty, qlonglong(QRandomGenerator::global()->generate64() | 1));
    return format;
}

bool joinsLines(const QTextDocument &document)
{
    return document.property(joinsLinesProperty).toBool();
}

void setJoinsLines(QTextDocument &document, bool joins)
{
    document.setProperty(joinsLinesProperty, joins);
}

QString documentText(QStringView note, bool joinLines, std::vector<int> &pieceBreaks)
{
    QString text;
    text.reserve(note.size() + note.size() / pieceLength + 1);
    pieceBreaks.clear();
    forEachPart(note, 0, joinLines, [&](Part part, QStringView characters) {
        switch (part) {
        case Part::Text:
            text.append(characters);
            break;
        case Part::JoinedLine:
            text.append(QChar::LineSeparator);
            break;
        case Part::LineBreak:
            text.append(u'\n');
            break;
        case Part::PieceBreak:
            pieceBreaks.push_back(int(text.size()));
            text.append(QChar::ParagraphSeparator);
            break;
        }
    });
    return text;
}

bool isMarked(const QTextBlock &block)
{
    return markOf(block) != 0;
}

bool continuesLine(const QTextBlock &block)
{
    const qlonglong mark = markOf(block);
    return mark != 0 && markOf(block.previous()) != mark && block.previous().isValid();
}

std::pair<int, int> noteLine(const QTextDocument &document, int position)
{
    const bool joined = joinsLines(document);
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid())
        return {position, position};

    int start = block.position();
    for (QTextBlock b = block; b.isValid(); b = b.previous()) {
        const QString text = b.text();
        const qsizetype at = b == block ? position - b.position() : text.size();
        const qsizetype separator
            = joined && at > 0 ? text.lastIndexOf(QChar::LineSeparator, at - 1) : -1;
        if (separator >= 0) {
            start = b.position() + int(separator) + 1;
            break;
        }
        start = b.position();
        if (!continuesLine(b))
            break;
    }

    int end = block.position() + block.length() - 1;
    for (QTextBlock b = block; b.isValid(); b = b.next()) {
        const QString text = b.text();
        const qsizetype at = b == block ? position - b.position() : 0;
        const qsizetype separator = joined ? text.indexOf(QChar::LineSeparator, at) : -1;
        if (separator >= 0) {
            end = b.position() + int(separator);
            break;
        }
        end = b.position() + b.length() - 1;
        if (!continuesLine(b.next()))
            break;
    }
    return {start, end};
}

qsizetype pieceEnd(QStringView line, qsizetype from)
{
    const qsizetype limit = from + pieceLength;
    if (limit >= line.size())
        return line.size();
    for (qsizetype at = limit; at > limit - spaceSearch; --at) {
        if (line[at - 1] == u' ' && isCuttableBefore(line, at))
            return at;
    }
    for (qsizetype at = limit; at > from + 1; --at) {
        if (isCuttableBefore(line, at))
            return at;
    }
    return limit;
}

void insertNoteText(QTextCursor &cursor, QStringView text)
{
    const bool join = cursor.document() && joinsLines(*cursor.document());
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    // What is still to go into the current block, in one insertion.
    QString run;
    const auto breakBlock = [&cursor, &run](const QTextBlockFormat &format) {
        if (!run.isEmpty())
            cursor.insertText(run);
        run.clear();
        cursor.insertBlock(format);
    };
    // The block's characters after the cursor count too: they stay in the last block.
    forEachPart(text, cursor.block().length() - 1, join, [&](Part part, QStringView characters) {
        switch (part) {
        case Part::Text:
            run.append(characters);
            break;
        case Part::JoinedLine:
            run.append(QChar::LineSeparator);
            break;
        case Part::LineBreak:
            breakBlock(QTextBlockFormat());
            break;
        case Part::PieceBreak:
            breakBlock(pieceFormat());
            break;
        }
    });
    if (!run.isEmpty())
        cursor.insertText(run);
    cursor.endEditBlock();
}

void cutIfTooLong(QTextDocument &document, const QTextBlock &block, qsizetype longest)
{
    if (block.length() - 1 <= longest)
        return;
    const QString text = block.text();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    // From the end, so that the positions still to cut at stay where they are.
    std::vector<qsizetype> cuts;
    for (qsizetype from = 0; text.size() - from > pieceLength;) {
        from = pieceEnd(text, from);
        cuts.push_back(from);
    }
    for (auto it = cuts.rbegin(); it != cuts.rend(); ++it) {
        cursor.setPosition(block.position() + int(*it));
        cursor.insertBlock(pieceFormat());
    }
    cursor.endEditBlock();
}

QString noteText(const QTextDocument &document, int from, int to)
{
    QString text;
    if (to <= from)
        return text;
    const bool joined = joinsLines(document);
    text.reserve(to - from);
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        const int start = block.position();
        if (start >= to)
            break;
        const int separator = start + block.length() - 1;
        const int begin = std::max(from, start);
        const int end = std::min(to, separator);
        if (end > begin) {
            const qsizetype at = text.size();
            text += block.text().mid(begin - start, end - begin);
            if (joined)
                std::replace(text.begin() + at, text.end(), QChar(QChar::LineSeparator),
                             QChar(u'\n'));
        }
        if (separator >= from && separator < to && !continuesLine(block.next()))
            text += u'\n';
    }
    return text;
}

} // namespace LinePieces
