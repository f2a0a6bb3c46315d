#include "drawer/BorderlessWindow.h"

#include "platform/SwayWindowPlacement.h"
#include "platform/X11WindowActivation.h"

#include <QGuiApplication>
#include <QHideEvent>
#include <QMoveEvent>
#include <QRegion>
#include <QResizeEvent>

BorderlessWindow::BorderlessWindow(QWidget *parent)
    // Qt::Tool makes a utility window: no taskbar entry on most desktops, floating on tiling
    // ones (sway), and no quitting when it is the last window closed. Managed, never
    // override-redirect: window managers give such a window the keyboard only when they
    // manage it.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_activation(new X11WindowActivation(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QStringLiteral("Notepad"));
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
    if (geometry() != area)
        setGeometry(area);
    placeContent();
}

void BorderlessWindow::setFrameRect(const QRect &frame, const QRect &clip)
{
    m_frame = frame;
    m_clip = clip;
    placeContent();
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

void BorderlessWindow::placeContent()
{
    const QRect area = geometry();
    if (m_frame.isNull())
        m_frame = area;
    if (m_content)
        m_content->setGeometry(m_frame.translated(-area.topLeft()));
    QRect shown = m_frame.intersected(area);
    if (!m_clip.isNull())
        shown = shown.intersected(m_clip);
    shown.translate(-area.topLeft());
    if (!supportsMasks())
        return;
    if (shown == rect()) {
        if (!mask().isEmpty())
            clearMask();
    } else if (shown.isEmpty()) {
        // An empty region would mean "no mask"; a pixel outside the window shows nothing.
        setMask(QRegion(-1, -1, 1, 1));
    } else {
        setMask(QRegion(shown));
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
    if (!m_sway || !isVisible() || m_area.isNull() || pos() == m_area.topLeft())
        return;
    const qreal ratio = devicePixelRatioF();
    m_sway->place(std::uint32_t(winId()),
                  QPoint(qRound(m_area.x() * ratio), qRound(m_area.y() * ratio)));
}

void BorderlessWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeContent();
}
