// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawer/SlideAnimator.h"

#include "app/AppState.h"
#include "app/NumberFormat.h"
#include "app/Settings.h"
#include "drawer/BorderlessWindow.h"
#include "geometry/DrawerGeometry.h"
#include "platform/ScreenCoordinates.h"
#include "platform/ScreenSource.h"

#include <QEasingCurve>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>
#include <QVariantAnimation>

namespace {
QEasingCurve cubicBezier(QPointF c1, QPointF c2)
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(c1, c2, QPointF(1, 1));
    return curve;
}

QEasingCurve easeOut()
{
    return cubicBezier(QPointF(0, 0), QPointF(0.58, 1));
}

QEasingCurve easeIn()
{
    return cubicBezier(QPointF(0.42, 0), QPointF(1, 1));
}
} // namespace

SlideAnimator::SlideAnimator(AppState &state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{ }

QRect SlideAnimator::primaryGeometry() const
{
    return m_screen ? m_screen->primaryGeometry : QRect();
}

std::optional<QRect> SlideAnimator::qtRect(const QRectF &frame) const
{
    return ScreenCoordinates::toQtRect(frame, primaryGeometry());
}

QRect SlideAnimator::screenRect() const
{
    return m_screen ? qtRect(m_screen->frame).value_or(QRect()) : QRect();
}

QRectF SlideAnimator::frameOf(const BorderlessWindow *window) const
{
    return ScreenCoordinates::fromQtRect(window->frameRect(), primaryGeometry());
}

// The part of the screen a motion from \a from to \a to crosses: the native window's place.
QRect SlideAnimator::areaFor(const QRectF &from, const QRectF &to) const
{
    const auto a = qtRect(from);
    const auto b = qtRect(to);
    QRect area = a ? (b ? a->united(*b) : *a) : b.value_or(QRect());
    const QRect screen = screenRect();
    if (screen.isNull())
        return area;
    area = area.intersected(screen);
    // A frame wholly beyond the screen still needs a window, which shows nothing.
    return area.isEmpty() ? QRect(screen.topLeft(), QSize(1, 1)) : area;
}

int SlideAnimator::scaled(int ms) const
{
    return int(ms * m_durationScale);
}

void SlideAnimator::showFrame(BorderlessWindow *window, const QRectF &frame)
{
    if (const auto rect = qtRect(frame))
        window->setFrameRect(*rect, screenRect());
}

// At rest the native window is exactly the frame's part on the screen.
void SlideAnimator::settle(BorderlessWindow *window)
{
    const QRectF frame = frameOf(window);
    window->setArea(areaFor(frame, frame));
}

void SlideAnimator::stop()
{
    if (!m_running)
        return;
    QAbstractAnimation *animation = m_running;
    m_running = nullptr;
    m_motion = nullptr;
    animation->disconnect();
    animation->stop();
    animation->deleteLater();
}

QVariantAnimation *SlideAnimator::motion(BorderlessWindow *window, const QRectF &from,
                                         const QRectF &to, int ms, const QEasingCurve &curve,
                                         QObject *parent)
{
    auto *animation = new QVariantAnimation(parent);
    animation->setDuration(ms);
    animation->setEasingCurve(curve);
    animation->setStartValue(from);
    animation->setEndValue(to);
    connect(animation, &QVariantAnimation::valueChanged, window,
            [this, window](const QVariant &value) { showFrame(window, value.toRectF()); });
    // A motion of no duration ends without a value: it ends at its end all the same.
    connect(animation, &QAbstractAnimation::finished, window,
            [this, window, animation] { showFrame(window, animation->endValue().toRectF()); });
    return animation;
}

void SlideAnimator::start(QAbstractAnimation *animation, QVariantAnimation *motion, Kind kind)
{
    m_kind = kind;
    m_running = animation;
    m_motion = motion;
    connect(animation, &QAbstractAnimation::finished, this, [this, animation] {
        if (m_running == animation) {
            m_running = nullptr;
            m_motion = nullptr;
        }
        animation->deleteLater();
    });
    animation->start();
}

double SlideAnimator::shownOpacity() const
{
    return m_state.highContrastMode()
        ? 1.0
        : Settings::windowOpacity.limits.clamp(m_state.windowOpacity());
}

void SlideAnimator::showAt(BorderlessWindow *window, const QRectF &frame, const QRectF &towards)
{
    window->setWindowOpacity(shownOpacity());
    window->setArea(areaFor(frame, towards));
    showFrame(window, frame);
    window->present();
}

void SlideAnimator::slideIn(BorderlessWindow *window, const QRectF &resting)
{
    stop();
    // Without a screen there is no edge to slide from: show the drawer at once.
    if (m_state.reduceMotion() || !m_screen) {
        showAt(window, resting, resting);
        return;
    }

    const DrawerPosition edge = m_state.drawerPosition();
    const QRectF entry
        = DrawerGeometry::entryFrame(edge, resting.topLeft(), resting.size(), m_screen->frame);
    m_state.printLine(
        QStringLiteral("🔄 Animating IN from %1:").arg(DrawerPositions::rawValue(edge)));
    m_state.printLine(QStringLiteral("   Start: ") + NumberFormat::rect(entry));
    m_state.printLine(QStringLiteral("   Final: ") + NumberFormat::rect(resting));

    showAt(window, entry, resting);

    auto *slide = motion(window, frameOf(window), resting, scaled(slideInMs), easeOut(), this);
    connect(slide, &QAbstractAnimation::finished, window, [this, window] { settle(window); });
    start(slide, slide, Kind::SlideIn);
    m_state.printLine(QStringLiteral("   Slide animation started!"));
}

void SlideAnimator::slideOut(BorderlessWindow *window)
{
    stop();
    if (m_state.reduceMotion() || !m_screen) {
        window->close();
        return;
    }

    const DrawerPosition edge = m_state.drawerPosition();
    const QRectF current = frameOf(window);
    const QRectF exit = DrawerGeometry::exitFrame(edge, current, m_screen->frame);
    m_state.printLine(
        QStringLiteral("🔄 Animating OUT to %1:").arg(DrawerPositions::rawValue(edge)));
    m_state.printLine(QStringLiteral("   Current: ") + NumberFormat::rect(frameOf(window)));
    m_state.printLine(QStringLiteral("   End: ") + NumberFormat::rect(exit));

    window->setArea(areaFor(current, exit));
    auto *group = new QSequentialAnimationGroup(this);
    auto *slide = motion(window, current, exit, scaled(slideOutMs), easeIn(), group);
    auto *fade = new QPropertyAnimation(window, "windowOpacity", group);
    fade->setDuration(scaled(fadeMs));
    fade->setEasingCurve(easeIn());
    fade->setEndValue(0.0);
    group->addAnimation(slide);
    group->addAnimation(fade);
    // The close belongs to this slide-out: a slide that starts meanwhile stops the group, and
    // with it the close, so a drawer just shown again is never hidden by an older slide-out.
    connect(group, &QAbstractAnimation::finished, window, [window] { window->close(); });
    start(group, slide, Kind::SlideOut);
}

void SlideAnimator::place(BorderlessWindow *window, const QRectF &frame)
{
    if (!qtRect(frame))
        return;
    stop();
    window->setArea(areaFor(frame, frame));
    showFrame(window, frame);
}

void SlideAnimator::resize(BorderlessWindow *window, const QRectF &resting)
{
    if (!qtRect(resting))
        return;
    const DrawerPosition edge = m_state.drawerPosition();
    if (m_running && m_kind != Kind::Resize && m_screen) {
        // The slide goes on with the new size, between the frames that size has at the edge: a
        // slide-in still comes to rest flush with it, a slide-out still ends closed.
        QRectF from = resting;
        QRectF to = resting;
        if (m_kind == Kind::SlideIn)
            from = DrawerGeometry::entryFrame(edge, resting.topLeft(), resting.size(),
                                              m_screen->frame);
        else
            to = DrawerGeometry::exitFrame(edge, resting, m_screen->frame);
        if (m_motion && m_motion->state() == QAbstractAnimation::Running) {
            m_motion->setStartValue(from);
            m_motion->setEndValue(to);
            window->setArea(areaFor(from, to));
            const QVariant now = m_motion->currentValue();
            showFrame(window, now.isValid() ? now.toRectF() : from);
        } else {
            // Fading out beyond the edge.
            window->setArea(areaFor(to, to));
            showFrame(window, to);
        }
        return;
    }
    // A resize under way starts again from where the frame stands now.
    stop();
    const QRectF current = frameOf(window);
    window->setArea(areaFor(current, resting));
    auto *animation
        = motion(window, current, resting, scaled(resizeMs), QEasingCurve::InOutQuad, this);
    connect(animation, &QAbstractAnimation::finished, window, [this, window] { settle(window); });
    start(animation, animation, Kind::Resize);
}
