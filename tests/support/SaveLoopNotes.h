// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCryptographicHash>
#include <QString>
#include <QStringList>

#include <optional>

/// The two whole notes the save loop writes in turn, each about 5 MB and of its own length: a
/// header line, a body, an end marker and a checksum line, so that a torn or mixed note shows.
namespace SaveLoopNotes {

inline QString checksumLine(const QString &upToEnd)
{
    return QStringLiteral("checksum ")
        + QString::fromLatin1(
               QCryptographicHash::hash(upToEnd.toUtf8(), QCryptographicHash::Sha1).toHex());
}

/// Note 'A' or 'B'.
inline QString note(char which, qsizetype bodySize)
{
    const QString name(QChar::fromLatin1(which));
    QString text = QStringLiteral("Jotshelf kill test, note %1\n").arg(name);
    text.reserve(bodySize + 200);
    // Lines of several lengths, with list items, tabs, quotes, backslashes and characters that
    // need escaping in the file, so that the whole writer is exercised.
    static const QStringList words
        = {QStringLiteral("milk"),  QStringLiteral("café"),   QStringLiteral("\"eggs\""),
           QStringLiteral("a\\b"),  QStringLiteral("日本語"), QStringLiteral("😀"),
           QStringLiteral("x=1;y"), QStringLiteral("\t"),     QStringLiteral("[section]"),
           QStringLiteral("#hash")};
    quint32 seed = which == 'A' ? 1u : 2u;
    int line = 0;
    while (text.size() < bodySize) {
        text += QStringLiteral("%1%2. ").arg(name).arg(++line);
        for (int i = 0; i < 12; ++i) {
            seed = seed * 1664525u + 1013904223u;
            text += words.at(int(seed >> 16) % words.size());
            text += u' ';
        }
        text += u'\n';
    }
    text += QStringLiteral("end of note %1\n").arg(name);
    return text + checksumLine(text);
}

inline qsizetype sizeA()
{
    return 5'000'000;
}

inline qsizetype sizeB()
{
    return 5'400'000;
}

/// What a stored note is: "A", "B", or a description of what is wrong with it.
inline QString identify(const std::optional<QString> &stored, const QString &a, const QString &b)
{
    if (!stored)
        return QStringLiteral("no note");
    if (*stored == a)
        return QStringLiteral("A");
    if (*stored == b)
        return QStringLiteral("B");
    const qsizetype end = stored->lastIndexOf(QStringLiteral("checksum "));
    return QStringLiteral("a broken note of %1 characters starting \"%2\"%3")
        .arg(stored->size())
        .arg(stored->left(30),
             end < 0 || checksumLine(stored->left(end)) != stored->mid(end)
                 ? QStringLiteral(", checksum wrong or missing")
                 : QStringLiteral(", checksum right"));
}

} // namespace SaveLoopNotes
