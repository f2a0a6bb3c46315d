// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "geometry/DrawerPosition.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

/// The drawer's frames and measures. Frames are in screen coordinates with the origin at the
/// bottom-left corner of the primary screen and y growing upwards; a frame's (x, y) is its
/// bottom-left corner. Pure functions: no window, no screen, no model.
namespace DrawerGeometry {

inline constexpr double entryDistance = 100;
inline constexpr double exitDistance = 50;

/// Where the drawer rests at \a edge of the visible frame \a visible: flush with the edge,
/// centred along it; no inset and no clamping, so a drawer larger than the frame overhangs.
QPointF restingOrigin(DrawerPosition edge, QSizeF size, const QRectF &visible);

/// Where a slide-in starts: 100 points beyond the edge. Top and right are measured from the
/// screen's full frame, bottom and left from coordinate 0.
QRectF entryFrame(DrawerPosition edge, QPointF resting, QSizeF size, const QRectF &screen);

/// Where a slide-out ends: 50 points beyond the edge, keeping the size of \a current.
QRectF exitFrame(DrawerPosition edge, const QRectF &current, const QRectF &screen);

/// 10 × ln(width / 300) + 20, never below 20 (also when the logarithm is not a number).
double automaticMargins(double width);

} // namespace DrawerGeometry
