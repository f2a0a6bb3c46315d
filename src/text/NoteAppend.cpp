// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/NoteAppend.h"

#include "text/ListContinuation.h"

namespace {

bool isNewline(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}

qsizetype lineStart(QStringView text, qsizetype end)
{
    qsizetype start = end;
    while (start > 0 && !isNewline(text[start - 1]))
        --start;
    return start;
}

} // namespace

namespace NoteAppend {

Edit appending(QStringView note, QStringView text)
{
    Edit edit {note.size(), 0, text.toString()};
    if (text.isEmpty() || note.isEmpty() || isNewline(note.back()))
        return edit;

    const qsizetype lastStart = lineStart(note, note.size());
    if (lastStart > 0) {
        const QStringView last = note.sliced(lastStart);
        const qsizetype previousEnd = lastStart - 1;
        const QStringView previous
            = note.sliced(lineStart(note, previousEnd), previousEnd - lineStart(note, previousEnd));
        if (ListContinuation::getNextFormattedLine(previous) == last) {
            qsizetype firstEnd = 0;
            while (firstEnd < text.size() && !isNewline(text[firstEnd]))
                ++firstEnd;
            if (ListContinuation::getNextFormattedLine(text.first(firstEnd))) {
                edit.position = lastStart;
                edit.removed = last.size();
            }
            return edit;
        }
    }
    edit.inserted.prepend(u'\n');
    return edit;
}

} // namespace NoteAppend
