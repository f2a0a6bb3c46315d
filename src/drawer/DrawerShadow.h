// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMargins>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>

class QImage;
class QPainter;

/**
 * The drawer's drop shadow: black at 30 % opacity, blurred over a radius of 20 px and lying
 * 10 px below the frame.
 *
 * The blur is a Gaussian whose standard deviation is half the radius, as in CSS and Qt's own
 * drop-shadow effect; it fades out within three deviations of the shadow's edge, which gives
 * the margins the shadow needs around the frame. A rectangle blurred by a Gaussian is the
 * product of two error-function profiles, so the shadow is computed, not blurred, and kept as
 * a pixmap until the frame's size changes: a slide moves it, it never recomputes it.
 */
class DrawerShadow
{
public:
    static constexpr double opacity = 0.3;
    static constexpr int blurRadius = 20;
    static constexpr QPoint offset {0, 10};

    /// How far the shadow reaches beyond the frame on each side.
    static QMargins extents();
    /// The rectangle the shadow of \a frame covers, the frame included.
    static QRect bounds(const QRect &frame) { return frame.marginsAdded(extents()); }

    /// Paints the shadow of \a frame around it, leaving the frame itself untouched.
    void paint(QPainter &painter, const QRect &frame);

    /// The shadow of a frame of \a size, the size of bounds().
    static QImage render(QSize size);

private:
    QPixmap m_pixmap;
    QSize m_size;
};
