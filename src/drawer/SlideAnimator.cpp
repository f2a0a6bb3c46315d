#include "drawer/SlideAnimator.h"

#include "app/AppState.h"
#include "app/NumberFormat.h"
#include "drawer/BorderlessWindow.h"
#include "drawer/DrawerGeometry.h"
#include "drawer/DrawerOpacity.h"
#include "platform/ScreenSource.h"

#include <QEasingCurve>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>

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
    const auto screen = m_state.screens().mainScreen();
    return screen ? screen->primaryGeometry : QRect();
}

std::optional<QRect> SlideAnimator::qtRect(const QRectF &frame) const
{
    return DrawerGeometry::toQtRect(frame, primaryGeometry());
}

QRectF SlideAnimator::frameOf(const BorderlessWindow *window) const
{
    return DrawerGeometry::fromQtRect(window->geometry(), primaryGeometry());
}

int SlideAnimator::scaled(int ms) const
{
    return int(ms * m_durationScale);
}

void SlideAnimator::stop()
{
    if (!m_running)
        return;
    QAbstractAnimation *animation = m_running;
    m_running = nullptr;
    animation->disconnect();
    animation->stop();
    animation->deleteLater();
}

void SlideAnimator::start(QAbstractAnimation *animation, bool slidingOut)
{
    m_slidingOut = slidingOut;
    m_running = animation;
    connect(animation, &QAbstractAnimation::finished, this, [this, animation] {
        if (m_running == animation)
            m_running = nullptr;
        animation->deleteLater();
    });
    animation->start();
}

void SlideAnimator::showAt(BorderlessWindow *window, const QRectF &frame)
{
    window->setWindowOpacity(DrawerOpacity::effective(m_state));
    if (const auto rect = qtRect(frame))
        window->setGeometry(*rect);
    window->show();
    window->raise();
    window->activateWindow();
}

void SlideAnimator::slideIn(BorderlessWindow *window)
{
    stop();
    const QRectF resting(m_state.defaultPosition(), m_state.windowSize());
    const auto screen = m_state.screens().mainScreen();
    // Without a main screen there is no edge to slide from: show the drawer at once.
    if (m_state.reduceMotion() || !screen) {
        showAt(window, resting);
        return;
    }

    const DrawerPosition edge = m_state.drawerPosition();
    const QRectF entry
        = DrawerGeometry::entryFrame(edge, resting.topLeft(), resting.size(), screen->frame);
    m_state.printLine(
        QStringLiteral("🔄 Animating IN from %1:").arg(DrawerPositions::rawValue(edge)));
    m_state.printLine(QStringLiteral("   Start: ") + NumberFormat::rect(entry));
    m_state.printLine(QStringLiteral("   Final: ") + NumberFormat::rect(resting));

    showAt(window, entry);

    auto *slide = new QPropertyAnimation(window, "geometry", this);
    slide->setDuration(scaled(slideInMs));
    slide->setEasingCurve(easeOut());
    slide->setStartValue(window->geometry());
    slide->setEndValue(qtRect(resting).value_or(window->geometry()));
    start(slide, false);
    m_state.printLine(QStringLiteral("   Slide animation started!"));
}

void SlideAnimator::slideOut(BorderlessWindow *window)
{
    stop();
    const auto screen = m_state.screens().mainScreen();
    if (m_state.reduceMotion() || !screen) {
        window->close();
        return;
    }

    const DrawerPosition edge = m_state.drawerPosition();
    const QRectF current = frameOf(window);
    const QRectF exit = DrawerGeometry::exitFrame(edge, current, screen->frame);
    m_state.printLine(
        QStringLiteral("🔄 Animating OUT to %1:").arg(DrawerPositions::rawValue(edge)));
    m_state.printLine(QStringLiteral("   Current: ") + NumberFormat::rect(frameOf(window)));
    m_state.printLine(QStringLiteral("   End: ") + NumberFormat::rect(exit));

    auto *group = new QSequentialAnimationGroup(this);
    auto *slide = new QPropertyAnimation(window, "geometry", group);
    slide->setDuration(scaled(slideOutMs));
    slide->setEasingCurve(easeIn());
    slide->setStartValue(window->geometry());
    slide->setEndValue(qtRect(exit).value_or(window->geometry()));
    auto *fade = new QPropertyAnimation(window, "windowOpacity", group);
    fade->setDuration(scaled(fadeMs));
    fade->setEasingCurve(easeIn());
    fade->setEndValue(0.0);
    group->addAnimation(slide);
    group->addAnimation(fade);
    // The close belongs to this slide-out: a slide that starts meanwhile stops the group, and
    // with it the close, so a drawer just shown again is never hidden by an older slide-out.
    connect(group, &QAbstractAnimation::finished, window, [window] { window->close(); });
    start(group, true);
}

void SlideAnimator::setFrame(BorderlessWindow *window, const QRectF &frame, bool animate)
{
    const auto rect = qtRect(frame);
    if (!rect)
        return;
    stop();
    if (!animate || !window->isVisible()) {
        window->setGeometry(*rect);
        return;
    }
    auto *resize = new QPropertyAnimation(window, "geometry", this);
    resize->setDuration(scaled(resizeMs));
    resize->setEasingCurve(QEasingCurve::InOutQuad);
    resize->setStartValue(window->geometry());
    resize->setEndValue(*rect);
    start(resize, false);
}
