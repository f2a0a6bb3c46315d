#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRectF>

#include <optional>

class AppState;
class BorderlessWindow;
class QAbstractAnimation;

/// Slides the drawer in from beyond its edge and out past it, fading and closing it at the end.
/// Only one motion runs at a time: starting a slide (or a resize) stops whatever slide, fade,
/// resize or pending close is still under way, and the new one starts from where the window
/// stands at that moment.
class SlideAnimator : public QObject
{
    Q_OBJECT

public:
    static constexpr int slideInMs = 300;
    static constexpr int slideOutMs = 250;
    static constexpr int fadeMs = 100;
    static constexpr int resizeMs = 150;

    explicit SlideAnimator(AppState &state, QObject *parent = nullptr);

    void slideIn(BorderlessWindow *window);
    void slideOut(BorderlessWindow *window);
    /// Gives the window the frame \a frame, in a short animation when \a animate is true.
    void setFrame(BorderlessWindow *window, const QRectF &frame, bool animate);
    /// Stops every motion still running or pending; the window stays where it is.
    void stop();
    bool isRunning() const { return !m_running.isNull(); }
    /// True from the start of a slide-out until the window is closed or another motion starts.
    bool isSlidingOut() const { return isRunning() && m_slidingOut; }

    /// Scales every duration; 0 makes each motion end at once (tests).
    void setDurationScale(double scale) { m_durationScale = scale; }

    /// The window's frame in screen coordinates (y up), read from its own geometry.
    QRectF frameOf(const BorderlessWindow *window) const;

private:
    std::optional<QRect> qtRect(const QRectF &frame) const;
    QRect primaryGeometry() const;
    int scaled(int ms) const;
    void showAt(BorderlessWindow *window, const QRectF &frame);
    void start(QAbstractAnimation *animation, bool slidingOut);

    AppState &m_state;
    QPointer<QAbstractAnimation> m_running;
    double m_durationScale = 1.0;
    bool m_slidingOut = false;
};
