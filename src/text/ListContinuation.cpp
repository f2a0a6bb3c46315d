// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/ListContinuation.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace {

bool isLineSpace(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

bool isNewline(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}

QStringView trimmed(QStringView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isLineSpace(line[begin]))
        ++begin;
    while (end > begin && isLineSpace(line[end - 1]))
        --end;
    return line.sliced(begin, end - begin);
}

const QRegularExpression &numberedItem()
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)\\.\\s"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

// The pattern matched against a view without copying it: Qt 6.5 named this matchView and
// deprecated match's QStringView overload; Qt 6.4 has only match.
QRegularExpressionMatch matchIn(const QRegularExpression &pattern, QStringView text)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return pattern.matchView(text);
#else
    return pattern.match(text);
#endif
}

// The pattern can only ever read the digits, the full stop after them and one character more,
// and the digits cannot contain a full stop: handing it just that much keeps the match (and its
// check of the text's encoding) short however long the item is.
QStringView numberedItemCandidate(QStringView line)
{
    const qsizetype stop = line.indexOf(u'.');
    if (stop < 0)
        return {};
    qsizetype end = stop + 1;
    if (end < line.size())
        ++end;
    if (end < line.size() && line[end - 1].isHighSurrogate() && line[end].isLowSurrogate())
        ++end;
    return line.first(end);
}

// A signed 64-bit decimal of ASCII digits only, with any number of leading zeros.
std::optional<qint64> parseAsciiDecimal(QStringView digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    constexpr qint64 max = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        const int digit = u - u'0';
        if (value > (max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

} // namespace

namespace ListContinuation {

std::optional<QString> getNextFormattedLine(QStringView line)
{
    const QStringView item = trimmed(line);
    static constexpr QStringView markers[] = {u"• ", u"- ", u"* "};
    for (const QStringView marker : markers) {
        if (item.startsWith(marker))
            return marker.toString();
    }

    const QRegularExpression &pattern = numberedItem();
    if (!pattern.isValid())
        return std::nullopt;
    const QStringView candidate = numberedItemCandidate(item);
    if (candidate.isEmpty())
        return std::nullopt;
    const QRegularExpressionMatch match = matchIn(pattern, candidate);
    if (!match.hasMatch())
        return std::nullopt;
    const std::optional<qint64> number = parseAsciiDecimal(match.capturedView(1));
    // The largest number has no successor in the same width: that item ends the list.
    if (!number || *number == std::numeric_limits<qint64>::max())
        return std::nullopt;
    return QString::number(*number + 1) + QStringLiteral(". ");
}

std::optional<QString> markerToAppend(QStringView text)
{
    // The last line is empty exactly when the note ends with a newline character, which also
    // means there are at least two lines.
    if (text.isEmpty() || !isNewline(text.back()))
        return std::nullopt;
    const qsizetype lineEnd = text.size() - 1;
    qsizetype lineStart = lineEnd;
    while (lineStart > 0 && !isNewline(text[lineStart - 1]))
        --lineStart;
    return getNextFormattedLine(text.sliced(lineStart, lineEnd - lineStart));
}

std::optional<QString> markerAfterEdit(QStringView note, qsizetype position, qsizetype removed,
                                       QStringView inserted)
{
    position = std::clamp<qsizetype>(position, 0, note.size());
    removed = std::clamp<qsizetype>(removed, 0, note.size() - position);
    // The changed note in its three parts, from the back.
    const QStringView parts[] = {note.sliced(position + removed), inserted, note.first(position)};
    qsizetype last = 0;
    while (last < 2 && parts[last].isEmpty())
        ++last;
    if (parts[last].isEmpty() || !isNewline(parts[last].back()))
        return std::nullopt;
    // The line before the final newline, collected part by part until a newline before it: a
    // view while it lies in one part, a copy only when the change cut into it.
    QStringView line;
    QString joined;
    for (qsizetype i = last; i < 3; ++i) {
        const QStringView part = i == last ? parts[i].chopped(1) : parts[i];
        qsizetype start = part.size();
        while (start > 0 && !isNewline(part[start - 1]))
            --start;
        if (const QStringView piece = part.sliced(start); !piece.isEmpty()) {
            if (line.isEmpty() && joined.isEmpty()) {
                line = piece;
            } else {
                if (joined.isEmpty())
                    joined = line.toString();
                joined.prepend(piece);
            }
        }
        if (start > 0)
            break;
    }
    return getNextFormattedLine(joined.isEmpty() ? line : QStringView(joined));
}

} // namespace ListContinuation
