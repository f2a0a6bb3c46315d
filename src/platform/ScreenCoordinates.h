// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QRectF>

#include <optional>

/// Conversion between the drawer's screen coordinates (origin at the bottom-left corner of the
/// primary screen, y growing upwards) and Qt's (top-left origin, y down), where a frame meets a
/// window or a screen.
namespace ScreenCoordinates {

/// The Qt rectangle (top-left origin, y down) of \a frame, given the primary screen's Qt
/// geometry \a primary. Nothing when a number is not finite; numbers beyond what the window
/// system takes are brought within its range.
std::optional<QRect> toQtRect(const QRectF &frame, const QRect &primary);

/// The frame of the Qt rectangle \a rect, given the primary screen's Qt geometry \a primary.
QRectF fromQtRect(const QRect &rect, const QRect &primary);

} // namespace ScreenCoordinates
