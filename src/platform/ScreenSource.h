// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QRect>
#include <QRectF>

#include <optional>

/// One screen as the drawer's geometry sees it.
struct ScreenFrames
{
    /// The whole screen, in screen coordinates (origin bottom-left of the primary screen, y up).
    QRectF frame;
    /// The screen without panels and docks, in the same coordinates.
    QRectF visibleFrame;
    /// The primary screen's Qt geometry (top-left origin, y down), for converting frames.
    QRect primaryGeometry;
};

/// Where the drawer code learns about screens. The application reads Qt's screens; tests hand
/// in screens of their choosing.
class ScreenSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    /// The main screen: the one holding the pointer, else the primary one; nothing when there
    /// is no screen.
    virtual std::optional<ScreenFrames> mainScreen() const = 0;
    /// The attached screen whose full frame is \a frame, as it is now; nothing when no screen
    /// has that frame any more.
    virtual std::optional<ScreenFrames> screenWithFrame(const QRectF &frame) const = 0;

Q_SIGNALS:
    /// A screen was added or removed, or a screen's size or visible area changed.
    void screensChanged();
};
