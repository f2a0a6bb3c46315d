// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMargins>
#include <QRegion>

class QWidget;

/**
 * The parts of an X11 window beyond what Qt offers: the region that takes pointer input, and
 * the margins of the window that are shadow, not frame.
 *
 * Qt's window mask (setMask) is the bounding shape, which clips painting and input alike; a
 * window that paints a shadow around its frame needs the input shape (SHAPE's ShapeInput, set
 * through XFixes) on top of it, so that clicks on the shadow reach the window below.
 * _GTK_FRAME_EXTENTS tells window managers and compositors (mutter, KWin, picom) how far the
 * window reaches beyond its visible frame, so that they place, snap and tile the frame and draw
 * no shadow of their own; picom, whose rules may shadow such a window all the same, is told not
 * to by _COMPTON_SHADOW 0 where no window manager's frame stands between (bspwm, dwm). They are
 * set on Qt's connection; off X11 every call does nothing.
 */
namespace X11WindowShape {

/// Only \a region (window coordinates) of \a window takes pointer input; none when it is empty.
void setInputRegion(QWidget *window, const QRegion &region);
/// The input shape follows the window's bounding shape again.
void clearInputRegion(QWidget *window);

/// Declares \a extents of \a window to lie outside its frame, a shadow the window draws itself;
/// no extents remove the hints.
void setFrameExtents(QWidget *window, const QMargins &extents);

} // namespace X11WindowShape
