#include "editor/LinePieces.h"

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace LinePieces {

namespace {
constexpr int markProperty = QTextFormat::UserProperty + 0x4C50;
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

void insertLine(QTextCursor &cursor, QStringView line)
{
    qsizetype from = 0;
    while (line.size() - from > pieceLength) {
        const qsizetype end = pieceEnd(line, from);
        cursor.insertText(line.sliced(from, end - from).toString());
        cursor.insertBlock(pieceFormat());
        from = end;
    }
    if (from < line.size())
        cursor.insertText(line.sliced(from).toString());
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

std::vector<qsizetype> pieceStarts(QStringView text)
{
    std::vector<qsizetype> starts;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = text.sliced(start, end - start);
        for (qsizetype from = 0; line.size() - from > pieceLength;) {
            from = pieceEnd(line, from);
            starts.push_back(start + from);
        }
        start = end + 1;
    }
    return starts;
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
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isBreak(text[i]))
            continue;
        insertLine(cursor, text.sliced(start, i - start));
        if (i == text.size())
            break;
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        cursor.insertBlock(QTextBlockFormat());
        start = i + 1;
    }
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
    text.reserve(to - from);
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        const int start = block.position();
        if (start >= to)
            break;
        const int separator = start + block.length() - 1;
        const int begin = std::max(from, start);
        const int end = std::min(to, separator);
        if (end > begin)
            text += block.text().mid(begin - start, end - begin);
        if (separator >= from && separator < to && !continuesLine(block.next()))
            text += u'\n';
    }
    return text;
}

} // namespace LinePieces
