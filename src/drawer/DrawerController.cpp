// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawer/DrawerController.h"

#include "app/AppState.h"
#include "app/Persistence.h"
#include "app/Settings.h"
#include "drawer/BorderlessWindow.h"
#include "drawer/SlideAnimator.h"
#include "editor/DrawerView.h"
#include "editor/NoteEditor.h"
#include "geometry/DrawerGeometry.h"
#include "platform/ScreenSource.h"

#include <algorithm>

DrawerController::DrawerController(AppState &state)
    : m_state(state)
    , m_slides(std::make_unique<SlideAnimator>(state))
{
    m_screen = m_state.screens().mainScreen();
    m_slides->setScreen(m_screen);
    connect(&m_state.screens(), &ScreenSource::screensChanged, this,
            &DrawerController::onScreensChanged);
}

DrawerController::~DrawerController()
{
    m_slides->stop();
}

void DrawerController::createDrawerWindow()
{
    auto window = std::make_unique<BorderlessWindow>();
    window->setContent(new DrawerView(m_state));
    m_window = std::move(window);
    m_slides->place(m_window.get(), QRectF(QPointF(0, 0), shownSize()));

    // High contrast overrides the opacity of a drawer on screen at once.
    connect(&m_state, &AppState::highContrastModeChanged, m_window.get(), [this] {
        if (m_window->isVisible() && !m_slides->isRunning())
            m_window->setWindowOpacity(m_slides->shownOpacity());
    });

    // A drawer going away is a moment to write again what could not be written before.
    connect(m_window.get(), &BorderlessWindow::hidden, &m_state.persistence(), &Persistence::retry);

    moveToScreen(m_screen);
}

void DrawerController::moveToScreen(const std::optional<ScreenFrames> &screen)
{
    m_screen = screen;
    m_slides->setScreen(screen);
    if (screen) {
        m_state.setMaxWindowWidth(screen->visibleFrame.width());
        m_state.setMaxWindowHeight(screen->visibleFrame.height());
    }
    if (auto *view = m_window ? qobject_cast<DrawerView *>(m_window->content()) : nullptr)
        view->setSizeLimit(screen ? screen->visibleFrame.size().toSize() : QSize());
}

// A screen that went (or changed) takes the drawer to the main screen; an open drawer moves to
// its resting frame there, so it never stays on a screen that is gone.
void DrawerController::onScreensChanged()
{
    std::optional<ScreenFrames> screen
        = m_screen ? m_state.screens().screenWithFrame(m_screen->frame) : std::nullopt;
    const bool gone = !screen;
    if (gone)
        screen = m_state.screens().mainScreen();
    moveToScreen(screen);
    if (gone && m_window && m_window->isVisible() && !m_slides->isSlidingOut())
        m_slides->place(m_window.get(), restingFrame());
}

QSizeF DrawerController::shownSize() const
{
    QSizeF size = m_state.windowSize();
    if (!m_screen)
        return size;
    // Stored sizes are not bounded: a window larger than the screen would only cost memory and
    // put the drawer's text beyond reach. Written so that a NaN fails and takes the limit.
    const QSizeF limit = m_screen->visibleFrame.size();
    if (!(size.width() <= limit.width()))
        size.setWidth(limit.width());
    if (!(size.height() <= limit.height()))
        size.setHeight(limit.height());
    return size;
}

QRectF DrawerController::restingFrame() const
{
    return QRectF(calculateDefaultPosition(), shownSize());
}

QPointF DrawerController::calculateDefaultPosition() const
{
    if (!m_screen)
        return {0, 0};
    return DrawerGeometry::restingOrigin(m_state.drawerPosition(), shownSize(),
                                         m_screen->visibleFrame);
}

void DrawerController::updateWindowSizeRealTime()
{
    if (!m_window)
        return;
    // At least the least size; a size beyond the screen stays, shownSize() keeps the window in.
    m_state.setWindowWidth(std::max(m_state.windowWidth(), Settings::windowWidth.limits.lower));
    m_state.setWindowHeight(std::max(m_state.windowHeight(), Settings::windowHeight.limits.lower));
    m_state.setWindowSize(QSizeF(m_state.windowWidth(), m_state.windowHeight()));
    updateCurrentMargins();
    // A drawer belongs to its edge: a shown one takes the new size at its resting frame, flush
    // with the edge, so it neither leaves a gap nor runs past the screen.
    if (m_window->isVisible())
        m_slides->resize(m_window.get(), restingFrame());
}

void DrawerController::updateWindowOpacityRealTime()
{
    if (!m_window)
        return;
    m_state.setWindowOpacity(Settings::windowOpacity.limits.clamp(m_state.windowOpacity()));
    if (m_window->isVisible())
        m_window->setWindowOpacity(m_slides->shownOpacity());
}

void DrawerController::updateCurrentMargins()
{
    if (m_state.useManualMargins())
        m_state.setCurrentMargins(m_state.manualMargins());
    else
        m_state.setCurrentMargins(DrawerGeometry::automaticMargins(m_state.windowWidth()));
}

void DrawerController::redrawVisibleWindow()
{
    if (m_window && m_window->isVisible())
        m_window->update();
}

void DrawerController::animateWindowIn(BorderlessWindow *window)
{
    if (!window)
        return;
    // The drawer opens on the main screen of the moment: when that is another screen than the
    // one the resting origin was computed for, it is computed there first.
    const std::optional<ScreenFrames> screen = m_state.screens().mainScreen();
    const bool moved = screen.has_value() != m_screen.has_value()
        || (screen && m_screen
            && (screen->frame != m_screen->frame || screen->visibleFrame != m_screen->visibleFrame
                || screen->primaryGeometry != m_screen->primaryGeometry));
    if (moved)
        moveToScreen(screen);
    m_slides->slideIn(window, restingFrame());
}

void DrawerController::animateWindowOut(BorderlessWindow *window)
{
    if (window)
        m_slides->slideOut(window);
}

void DrawerController::toggle()
{
    if (!m_window)
        return;
    if (m_window->isVisible())
        animateWindowOut(m_window.get());
    else
        animateWindowIn(m_window.get());
}

bool DrawerController::isShowing() const
{
    return m_window && m_window->isVisible() && !m_slides->isSlidingOut();
}

void DrawerController::offerContextActions(const QList<QAction *> &actions)
{
    if (auto *view = m_window ? qobject_cast<DrawerView *>(m_window->content()) : nullptr)
        view->editor()->setExtraContextActions(actions);
}

void DrawerController::setStartupId(const QByteArray &id)
{
    if (BorderlessWindow *drawer = window())
        drawer->setStartupId(id);
}

void DrawerController::finishCommand()
{
    if (BorderlessWindow *drawer = window())
        drawer->finishCommand();
}
