// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ScreenCoordinates.h"

#include <algorithm>
#include <cmath>

namespace ScreenCoordinates {

namespace {
// X11 keeps window positions in 16 signed bits and sizes in 16 unsigned bits; a window far
// larger than any screen only costs memory, so sizes stop well below that.
constexpr double coordinateLimit = 32767;
constexpr double sizeLimit = 16384;

// Rounds half up whatever the sign, so that two edges a whole number apart stay that far apart.
int toCoordinate(double value)
{
    return int(std::floor(std::clamp(value, -coordinateLimit - 1, coordinateLimit) + 0.5));
}

int toLength(int length)
{
    return std::clamp(length, 1, int(sizeLimit));
}
} // namespace

std::optional<QRect> toQtRect(const QRectF &frame, const QRect &primary)
{
    const double values[] = {frame.x(), frame.y(), frame.width(), frame.height()};
    if (!std::all_of(std::begin(values), std::end(values),
                     [](double v) { return std::isfinite(v); }))
        return std::nullopt;
    // The edges are rounded, not the sizes: a frame flush with a screen edge stays flush.
    const double left = primary.left() + frame.x();
    const double top = primary.top() + primary.height() - (frame.y() + frame.height());
    const int x = toCoordinate(left);
    const int y = toCoordinate(top);
    const double width = std::min(frame.width(), sizeLimit);
    const double height = std::min(frame.height(), sizeLimit);
    return QRect(x, y, toLength(toCoordinate(left + width) - x),
                 toLength(toCoordinate(top + height) - y));
}

QRectF fromQtRect(const QRect &rect, const QRect &primary)
{
    return QRectF(rect.x() - primary.left(),
                  primary.top() + primary.height() - (double(rect.y()) + rect.height()),
                  rect.width(), rect.height());
}

} // namespace ScreenCoordinates
