// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/NumberFormat.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <locale.h>
#include <vector>

namespace NumberFormat {

QString shortest(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");

    char buffer[64];
    const double magnitude = std::fabs(value);
    const bool fixed = magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e16);
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value,
                        fixed ? std::chars_format::fixed : std::chars_format::scientific);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    if (fixed) {
        if (!text.contains(QLatin1Char('.')))
            text += QLatin1String(".0");
        return text;
    }
    return text;
}

QString rect(const QRectF &frame)
{
    return QStringLiteral("(%1, %2, %3, %4)")
        .arg(shortest(frame.x()), shortest(frame.y()), shortest(frame.width()),
             shortest(frame.height()));
}

QString printf(const char *format, double value)
{
    // The C library's own conversion (exact decimal rounding), in the C locale whatever the
    // user's locale is, so the read-outs always use a full stop.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const locale_t previous = uselocale(cLocale);
    char buffer[128];
    const int size = std::snprintf(buffer, sizeof buffer, format, value);
    QString text;
    if (size >= 0 && size_t(size) < sizeof buffer) {
        text = QString::fromUtf8(buffer, size);
    } else if (size >= 0) {
        std::vector<char> large(size_t(size) + 1);
        std::snprintf(large.data(), large.size(), format, value);
        text = QString::fromUtf8(large.data(), size);
    }
    uselocale(previous);
    return text;
}

QString wholeNumber(double value)
{
    if (!std::isfinite(value))
        return shortest(value);
    const double truncated = std::trunc(value);
    return printf("%.0f", truncated == 0 ? 0.0 : truncated);
}

} // namespace NumberFormat
