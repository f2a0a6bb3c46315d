// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/TextStyles.h"

#include <QFontDatabase>

#include <algorithm>

namespace TextStyles {

namespace {

// Body text is 13 points in the design and titles 17. Its captions are 10, which at the
// usual 9 or 10 point Linux body size would be hard to read: they are 85 % of the body here.
constexpr double title2Factor = 17.0 / 13.0;
constexpr double captionFactor = 0.85;

// Captions stay readable on small body fonts.
constexpr double smallestCaptionPoints = 7;

QFont scaled(QFont font, double factor, double smallestPoints = 0)
{
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(
            std::max(font.pointSizeF() * factor, std::min(smallestPoints, font.pointSizeF())));
    } else if (font.pixelSize() > 0) {
        font.setPixelSize(std::max(1, qRound(font.pixelSize() * factor)));
    }
    return font;
}

/// \a font at the size of \a size, in points or in pixels as \a size gives it.
QFont sizedAs(QFont font, const QFont &size)
{
    if (size.pointSizeF() > 0)
        font.setPointSizeF(size.pointSizeF());
    else if (size.pixelSize() > 0)
        font.setPixelSize(size.pixelSize());
    return font;
}

QFont captionSized(const QFont &font, const QFont &base)
{
    return sizedAs(font, scaled(base, captionFactor, smallestCaptionPoints));
}

} // namespace

QFont title2(const QFont &base)
{
    QFont font = scaled(base, title2Factor);
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont headline(const QFont &base)
{
    QFont font = base;
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont caption(const QFont &base)
{
    return captionSized(base, base);
}

QFont monospaced(const QFont &base)
{
    return sizedAs(QFontDatabase::systemFont(QFontDatabase::FixedFont), base);
}

QFont monospacedCaption(const QFont &base)
{
    return captionSized(QFontDatabase::systemFont(QFontDatabase::FixedFont), base);
}

} // namespace TextStyles
