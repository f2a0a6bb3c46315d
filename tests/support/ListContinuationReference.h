// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <limits>
#include <optional>

/// The list rule as written down, the slow way, to check the real one against: split the whole
/// note, trim with a pattern, build the numbered pattern on each call and parse with Qt's own
/// number parser.
namespace ListContinuationReference {

inline std::optional<QString> nextLine(const QString &line)
{
    static const QRegularExpression edges(QStringLiteral("^[\\t\\p{Zs}]+|[\\t\\p{Zs}]+$"));
    QString item = line;
    item.remove(edges);
    for (const QString &marker : {QStringLiteral("• "), QStringLiteral("- "), QStringLiteral("* ")})
        if (item.startsWith(marker))
            return item.left(2);

    const QRegularExpression numbered(QStringLiteral("^(\\d+)\\.\\s"),
                                      QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = numbered.match(item);
    if (!match.hasMatch())
        return std::nullopt;
    const QString digits = match.captured(1);
    for (const QChar c : digits)
        if (c.unicode() > 0x7F)
            return std::nullopt;
    bool ok = false;
    const qlonglong number = digits.toLongLong(&ok);
    if (!ok || number == std::numeric_limits<qlonglong>::max())
        return std::nullopt;
    return QString::number(number + 1) + QStringLiteral(". ");
}

inline std::optional<QString> marker(const QString &text)
{
    static const QRegularExpression newline(
        QStringLiteral("[\\x{0A}\\x{0B}\\x{0C}\\x{0D}\\x{85}\\x{2028}\\x{2029}]"));
    const QStringList lines = text.split(newline);
    if (lines.size() < 2 || !lines.last().isEmpty())
        return std::nullopt;
    return nextLine(lines.at(lines.size() - 2));
}

} // namespace ListContinuationReference
