// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRectF>
#include <QString>

/// How numbers are written for people and for the console.
namespace NumberFormat {

/// The shortest decimal form that reads back as the same double, always with a fractional
/// part: 520.0, -700.0, 137.5, 22.87682072451781; exponents from 1e16 on (1e+16).
QString shortest(double value);

/// "(x, y, width, height)" with each number in its shortest form.
QString rect(const QRectF &frame);

/// printf-style formatting of one double with \a format, which holds exactly one
/// floating-point conversion ("%.0f px", "%.1f%%").
QString printf(const char *format, double value);

/// The value truncated toward zero, in decimal without grouping (599.7 gives 599). Works for
/// any finite double, also beyond the range of a 64-bit integer.
QString wholeNumber(double value);

} // namespace NumberFormat
