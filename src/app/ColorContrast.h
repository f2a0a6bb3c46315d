// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>

/// Contrast between a text colour and its ground as WCAG 2 measures it: the ratio of the two
/// relative luminances, each plus 0.05, from 1:1 to 21:1. Pure functions on opaque colours; a
/// translucent text colour is first laid over its ground.
namespace ColorContrast {

/// WCAG AA for body text.
inline constexpr double normalText = 4.5;
/// WCAG AAA, asked for in high-contrast mode.
inline constexpr double highContrastText = 7.0;

double luminance(const QColor &color);
double ratio(const QColor &a, const QColor &b);
/// \a color laid over the opaque \a ground.
QColor over(const QColor &color, const QColor &ground);

/// \a text over \a ground, moved towards black or white (away from the ground) just as far as
/// it takes to reach \a minimum; unchanged when it does already.
QColor readable(const QColor &text, const QColor &ground, double minimum);

/// A warning red that reaches \a minimum on a button of colour \a ground, as the style draws it.
QColor destructive(const QColor &ground, double minimum = normalText);

} // namespace ColorContrast
