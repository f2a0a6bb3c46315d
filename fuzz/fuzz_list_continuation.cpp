// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The list rule on any text: the same answer as splitting the whole note, and only a marker
// the rule knows.

#include "FuzzInput.h"
#include "ListContinuationReference.h"

#include "text/ListContinuation.h"

#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QString &text, const std::optional<QString> &fast,
                       const std::optional<QString> &slow)
{
    std::fprintf(stderr, "%s differs on \"%s\": %s, expected %s\n", what,
                 qPrintable(text.toHtmlEscaped()), fast ? qPrintable(*fast) : "nothing",
                 slow ? qPrintable(*slow) : "nothing");
    std::abort();
}

bool isKnownMarker(const QString &marker)
{
    static const QRegularExpression numbered(QStringLiteral("^[1-9][0-9]*\\. $"));
    return marker == QStringLiteral("• ") || marker == QStringLiteral("- ")
        || marker == QStringLiteral("* ") || numbered.match(marker).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);

    const std::optional<QString> line = ListContinuation::getNextFormattedLine(text);
    const std::optional<QString> lineReference = ListContinuationReference::nextLine(text);
    // The reference reads one line; a text with a line break is no single line for it.
    static const QRegularExpression newline(
        QStringLiteral("[\\x{0A}\\x{0B}\\x{0C}\\x{0D}\\x{85}\\x{2028}\\x{2029}]"));
    if (!text.contains(newline) && line != lineReference)
        fail("getNextFormattedLine", text, line, lineReference);
    if (line && !isKnownMarker(*line))
        fail("getNextFormattedLine gave an unknown marker", text, line, std::nullopt);

    const std::optional<QString> marker = ListContinuation::markerToAppend(text);
    const std::optional<QString> markerReference = ListContinuationReference::marker(text);
    if (marker != markerReference)
        fail("markerToAppend", text, marker, markerReference);
    if (marker && !isKnownMarker(*marker))
        fail("markerToAppend gave an unknown marker", text, marker, std::nullopt);
    return 0;
}
