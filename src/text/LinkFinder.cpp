// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/LinkFinder.h"

#include <QUrl>

namespace {

using LinkFinder::Link;

bool endsBareAddress(QChar c)
{
    return c.isSpace() || c.unicode() < 0x20 || c == u'<' || c == u'>' || c == u'"' || c == u'`'
        || c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph;
}

bool isTrailingPunctuation(QChar c)
{
    return c == u'.' || c == u',' || c == u':' || c == u';' || c == u'!' || c == u'?' || c == u'\''
        || c == u'*' || c == u'_' || c == u'~';
}

// The length of "http://" or "https://" at \a at, or 0.
qsizetype schemeLength(QStringView line, qsizetype at)
{
    for (const QStringView scheme : {QStringView(u"https://"), QStringView(u"http://")}) {
        if (line.sliced(at).startsWith(scheme, Qt::CaseInsensitive))
            return scheme.size();
    }
    return 0;
}

std::optional<Link> bareAddressAt(QStringView line, qsizetype start)
{
    const qsizetype scheme = schemeLength(line, start);
    if (scheme == 0 || (start > 0 && line[start - 1].isLetterOrNumber()))
        return std::nullopt;
    qsizetype end = start + scheme;
    while (end < line.size() && !endsBareAddress(line[end]))
        ++end;
    // Leave out what ends the sentence around the address rather than the address.
    for (bool trimmed = true; trimmed && end > start + scheme;) {
        const QChar last = line[end - 1];
        const QStringView address = line.sliced(start, end - start);
        trimmed = isTrailingPunctuation(last)
            || (last == u')' && address.count(u'(') < address.count(u')'))
            || (last == u']' && address.count(u'[') < address.count(u']'));
        if (trimmed)
            --end;
    }
    if (end == start + scheme)
        return std::nullopt;
    return Link {start, end, line.sliced(start, end - start).toString()};
}

// The longest link text and target looked for: a stray bracket in a long line then costs a
// bounded look ahead, not the rest of the line.
constexpr qsizetype longestPart = 1024;

// The index of the \a close that matches the \a open at \a from, skipping backslash escapes.
std::optional<qsizetype> matching(QStringView line, qsizetype from, QChar open, QChar close)
{
    int depth = 0;
    const qsizetype end = qMin(line.size(), from + longestPart);
    for (qsizetype i = from; i < end; ++i) {
        const QChar c = line[i];
        if (c == u'\\') {
            ++i;
        } else if (c == open) {
            ++depth;
        } else if (c == close && --depth == 0) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<Link> markdownLinkAt(QStringView line, qsizetype start)
{
    const auto textEnd = matching(line, start, u'[', u']');
    if (!textEnd || *textEnd + 1 >= line.size() || line[*textEnd + 1] != u'(')
        return std::nullopt;
    const auto targetEnd = matching(line, *textEnd + 1, u'(', u')');
    if (!targetEnd)
        return std::nullopt;
    QStringView target = line.sliced(*textEnd + 2, *targetEnd - *textEnd - 2).trimmed();
    if (target.startsWith(u'<')) {
        const qsizetype close = target.indexOf(u'>');
        if (close < 0)
            return std::nullopt;
        target = target.sliced(1, close - 1);
    } else {
        // A title may follow the target after a space: [text](url "title").
        qsizetype space = 0;
        while (space < target.size() && !target[space].isSpace())
            ++space;
        target = target.first(space);
    }
    if (target.isEmpty())
        return std::nullopt;
    return Link {start, *targetEnd + 1, target.toString()};
}

} // namespace

namespace LinkFinder {

QList<Link> linksIn(QStringView line)
{
    QList<Link> links;
    for (qsizetype i = 0; i < line.size();) {
        std::optional<Link> link;
        if (line[i] == u'[')
            link = markdownLinkAt(line, i);
        else if (line[i] == u'h' || line[i] == u'H')
            link = bareAddressAt(line, i);
        if (link) {
            links.append(*link);
            i = link->end;
        } else {
            ++i;
        }
    }
    return links;
}

std::optional<Link> linkAt(QStringView line, qsizetype position)
{
    if (position < 0 || position >= line.size())
        return std::nullopt;
    const qsizetype from = qMax<qsizetype>(0, position - searchRadius);
    const qsizetype to = qMin<qsizetype>(line.size(), position + searchRadius);
    const QStringView window = line.sliced(from, to - from);
    for (Link link : linksIn(window)) {
        link.start += from;
        link.end += from;
        if (link.start <= position && position < link.end)
            return link;
        if (link.start > position)
            break;
    }
    return std::nullopt;
}

bool mayOpen(const QUrl &url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    if (scheme == QLatin1String("file"))
        return !url.path().isEmpty();
    return false;
}

} // namespace LinkFinder
