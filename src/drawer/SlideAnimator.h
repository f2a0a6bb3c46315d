// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ScreenSource.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRectF>
#include <QSizeF>

#include <optional>

class AppState;
class BorderlessWindow;
class QAbstractAnimation;
class QEasingCurve;
class QVariantAnimation;

/// Slides the drawer in from beyond its edge and out past it, fading and closing it at the end.
///
/// What moves is the drawer's frame: the native window stays on the drawer's screen, over the
/// part of the screen the motion crosses, and shows the frame clipped to that screen (see
/// BorderlessWindow). Only one motion runs at a time: a slide or a placing stops whatever slide,
/// fade, resize or pending close is still under way, and a slide starts from where the frame
/// stands at that moment. A new size never stops a motion: the motion goes on with the new size.
class SlideAnimator : public QObject
{
    Q_OBJECT

public:
    static constexpr int slideInMs = 300;
    static constexpr int slideOutMs = 250;
    static constexpr int fadeMs = 100;
    static constexpr int resizeMs = 150;

    explicit SlideAnimator(AppState &state, QObject *parent = nullptr);

    /// The screen the drawer is on: entry and exit frames are measured there, and nothing of
    /// the drawer shows beyond it.
    void setScreen(const std::optional<ScreenFrames> &screen) { m_screen = screen; }

    /// Slides \a window in to \a resting; at once with reduce motion or without a screen.
    void slideIn(BorderlessWindow *window, const QRectF &resting);
    void slideOut(BorderlessWindow *window);
    /// Puts the window's frame at \a frame at once, stopping any motion.
    void place(BorderlessWindow *window, const QRectF &frame);
    /// Gives a visible drawer the new resting frame \a resting (a new size at its edge): a
    /// running slide goes on towards, or away from, that frame; otherwise a short animation
    /// takes the drawer there.
    void resize(BorderlessWindow *window, const QRectF &resting);
    /// Stops every motion still running or pending; the window stays where it is.
    void stop();
    bool isRunning() const { return !m_running.isNull(); }
    /// True from the start of a slide-out until the window is closed or another motion starts.
    bool isSlidingOut() const { return isRunning() && m_kind == Kind::SlideOut; }

    /// Scales every duration; 0 makes each motion end at once (tests).
    void setDurationScale(double scale) { m_durationScale = scale; }

    /// The drawer's frame in screen coordinates (y up), as the user sees it.
    QRectF frameOf(const BorderlessWindow *window) const;

    /// The opacity the drawer window shows: the user's opacity within its limits, or fully
    /// opaque while high contrast is on. A stored opacity is loaded as it is; the window never
    /// goes below the least opacity.
    double shownOpacity() const;

private:
    std::optional<QRect> qtRect(const QRectF &frame) const;
    QRect primaryGeometry() const;
    QRect screenRect() const;
    QRect areaFor(const QRectF &from, const QRectF &to) const;
    int scaled(int ms) const;
    void showFrame(BorderlessWindow *window, const QRectF &frame);
    void settle(BorderlessWindow *window);
    void showAt(BorderlessWindow *window, const QRectF &frame, const QRectF &towards);
    QVariantAnimation *motion(BorderlessWindow *window, const QRectF &from, const QRectF &to,
                              int ms, const QEasingCurve &curve, QObject *parent);
    enum class Kind { SlideIn, SlideOut, Resize };
    void start(QAbstractAnimation *animation, QVariantAnimation *motion, Kind kind);

    AppState &m_state;
    std::optional<ScreenFrames> m_screen;
    QPointer<QAbstractAnimation> m_running;
    QPointer<QVariantAnimation> m_motion;
    double m_durationScale = 1.0;
    Kind m_kind = Kind::Resize;
};
