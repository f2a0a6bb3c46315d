// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawer/BorderlessWindow.h"

#include "drawer/AccessibleRoles.h"
#include "drawer/X11WindowActivation.h"
#include "drawer/X11WindowShape.h"
#include "platform/CompositingMonitor.h"
#include "platform/SwayWindowPlacement.h"

#include <QGuiApplication>
#include <QHideEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>

BorderlessWindow::BorderlessWindow(QWidget *parent)
    // Qt::Tool makes a utility window: no taskbar entry on most desktops, floating on tiling
    // ones (sway), and no quitting when it is the last window closed. Managed, never
    // override-redirect: window managers give such a window the keyboard only when they
    // manage it.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_activation(new X11WindowActivation(this))
    , m_compositing(new CompositingMonitor(this))
{
    AccessibleRoles::install();
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(tr("Notepad"));
    // The drawer shadows itself where a compositor shows translucency and does not shadow every
    // window by itself (which would draw a second, hard shadow around the margin).
    const auto shadowWanted
        = [this] { return m_compositing->isActive() && !m_compositing->shadowsEveryWindow(); };
    m_shadowShown = shadowWanted();
    connect(m_compositing, &CompositingMonitor::activeChanged, this,
            [this, shadowWanted] { setShadowShown(shadowWanted()); });
    if (const QString sway = SwayWindowPlacement::socketFromEnvironment(); !sway.isEmpty())
        m_sway = new SwayWindowPlacement(sway, this);
}

BorderlessWindow::~BorderlessWindow() = default;

void BorderlessWindow::setContent(QWidget *content)
{
    if (m_content)
        m_content->deleteLater();
    m_content = content;
    content->setParent(this);
    content->show();
    setFocusProxy(content);
    placeContent();
}

void BorderlessWindow::setArea(const QRect &area)
{
    m_area = area;
    applyArea();
}

void BorderlessWindow::setFrameRect(const QRect &frame, const QRect &clip)
{
    m_frame = frame;
    if (clip != m_clip) {
        // The margin ends at the screen's edge too.
        m_clip = clip;
        applyArea();
        return;
    }
    placeContent();
}

void BorderlessWindow::setShadowShown(bool shown)
{
    if (m_shadowShown == shown)
        return;
    m_area = geometry().marginsRemoved(m_margins);
    m_shadowShown = shown;
    m_shadowBounds = QRect();
    applyArea();
    update();
}

namespace {
// Platforms without window shapes (offscreen) only warn about each mask.
bool supportsMasks()
{
    static const bool supported = QGuiApplication::platformName() == QLatin1String("xcb")
        || QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    return supported;
}
} // namespace

// The native window: the area, and around it the shadow's margin as far as the screen goes.
void BorderlessWindow::applyArea()
{
    if (m_area.isNull()) {
        placeContent();
        return;
    }
    QRect native = m_area;
    if (m_shadowShown) {
        native = m_area.marginsAdded(DrawerShadow::extents());
        if (!m_clip.isNull())
            native = native.intersected(m_clip.united(m_area));
    }
    m_margins = QMargins(m_area.left() - native.left(), m_area.top() - native.top(),
                         native.right() - m_area.right(), native.bottom() - m_area.bottom());
    if (geometry() != native)
        setGeometry(native);
    placeContent();
}

void BorderlessWindow::placeContent()
{
    const QRect native = geometry();
    const QRect area = native.marginsRemoved(m_margins);
    if (m_frame.isNull())
        m_frame = area;
    const QRect frame = m_frame.translated(-native.topLeft());
    if (m_content)
        m_content->setGeometry(frame);
    QRect shown = m_frame.intersected(area);
    QRect painted = m_shadowShown ? DrawerShadow::bounds(m_frame).intersected(native) : shown;
    if (!m_clip.isNull()) {
        shown = shown.intersected(m_clip);
        painted = painted.intersected(m_clip);
    }
    shown.translate(-native.topLeft());
    painted.translate(-native.topLeft());

    if (m_shadowShown) {
        // The content repaints itself where it moves; the shadow around it moves with it.
        const QRect bounds = DrawerShadow::bounds(frame);
        if (bounds != m_shadowBounds) {
            update(QRegion(bounds).united(m_shadowBounds).subtracted(frame));
            m_shadowBounds = bounds;
        }
        m_input = QRegion(shown);
    } else {
        m_input.reset();
    }

    if (!supportsMasks())
        return;
    if (painted == rect()) {
        if (!mask().isEmpty())
            clearMask();
    } else if (painted.isEmpty()) {
        // An empty region would mean "no mask"; a pixel outside the window shows nothing.
        setMask(QRegion(-1, -1, 1, 1));
    } else {
        setMask(QRegion(painted));
    }
    applyShape(false);
}

// Only the frame takes clicks, and window managers learn what the margin is; told again to each
// new native window.
void BorderlessWindow::applyShape(bool force)
{
    if (!testAttribute(Qt::WA_WState_Created))
        return;
    const QMargins extents = m_shadowShown ? m_margins : QMargins();
    if (force || extents != m_appliedExtents) {
        X11WindowShape::setFrameExtents(this, extents);
        m_appliedExtents = extents;
    }
    if (force || m_input != m_appliedInput) {
        if (m_input)
            X11WindowShape::setInputRegion(this, *m_input);
        else
            X11WindowShape::clearInputRegion(this);
        m_appliedInput = m_input;
    }
}

void BorderlessWindow::present()
{
    m_activation->prepareShow(this);
    show();
    raise();
    activateWindow();
    m_activation->activate(this);
}

void BorderlessWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shadowShown && supportsMasks())
        applyShape(true);
}

void BorderlessWindow::paintEvent(QPaintEvent *)
{
    if (!m_shadowShown)
        return;
    QPainter painter(this);
    m_shadow.paint(painter, m_frame.translated(-geometry().topLeft()));
}

void BorderlessWindow::setStartupId(const QByteArray &id)
{
    m_activation->setStartupId(id);
}

void BorderlessWindow::finishCommand()
{
    m_activation->endStartup();
}

void BorderlessWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        Q_EMIT hidden();
}

// The window manager has the last word on where the window stands: the frame stays where it
// is on the screen, and the content and the clip follow the window.
void BorderlessWindow::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    placeContent();
    keepArea();
}

// sway centres the window on every map and every change of size: it is asked to put it back.
void BorderlessWindow::keepArea()
{
    if (!m_sway || !isVisible() || m_area.isNull())
        return;
    // The native window holds the shadow's margin around the area.
    const QPoint target = m_area.marginsAdded(m_margins).topLeft();
    if (pos() == target)
        return;
    const qreal ratio = devicePixelRatioF();
    m_sway->place(std::uint32_t(winId()),
                  QPoint(qRound(target.x() * ratio), qRound(target.y() * ratio)));
}

void BorderlessWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeContent();
}
