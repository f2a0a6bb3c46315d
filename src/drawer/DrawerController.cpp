#include "drawer/DrawerController.h"

#include "app/AppState.h"
#include "drawer/BorderlessWindow.h"
#include "drawer/DrawerGeometry.h"
#include "drawer/DrawerOpacity.h"
#include "drawer/SlideAnimator.h"
#include "editor/DrawerView.h"
#include "platform/ScreenSource.h"

#include <algorithm>

DrawerController::DrawerController(AppState &state)
    : m_state(state)
    , m_slides(std::make_unique<SlideAnimator>(state))
{
    // A drawer must never slide onto a screen that is gone: when screens change, the resting
    // origin and the size limits follow the main screen as it is now.
    connect(&m_state.screens(), &ScreenSource::screensChanged, this, [this] {
        if (!m_window)
            return;
        m_state.setDefaultPosition(calculateDefaultPosition());
        if (const auto screen = m_state.screens().mainScreen()) {
            m_state.setMaxWindowWidth(screen->visibleFrame.width());
            m_state.setMaxWindowHeight(screen->visibleFrame.height());
        }
    });
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
    m_slides->setFrame(m_window.get(), QRectF(QPointF(0, 0), m_state.windowSize()), false);

    // High contrast overrides the opacity of a drawer on screen at once.
    connect(&m_state, &AppState::highContrastModeChanged, m_window.get(), [this] {
        if (m_window->isVisible() && !m_slides->isRunning())
            m_window->setWindowOpacity(DrawerOpacity::effective(m_state));
    });

    m_state.setDefaultPosition(calculateDefaultPosition());
}

QPointF DrawerController::calculateDefaultPosition() const
{
    const auto screen = m_state.screens().mainScreen();
    if (!screen)
        return {0, 0};
    return DrawerGeometry::restingOrigin(m_state.drawerPosition(), m_state.windowSize(),
                                         screen->visibleFrame);
}

void DrawerController::updateWindowSizeRealTime()
{
    if (!m_window)
        return;
    m_state.setWindowWidth(std::max(m_state.windowWidth(), DrawerGeometry::minimumWidth));
    m_state.setWindowHeight(std::max(m_state.windowHeight(), DrawerGeometry::minimumHeight));
    m_state.setWindowSize(QSizeF(m_state.windowWidth(), m_state.windowHeight()));
    updateCurrentMargins();
    if (m_window->isVisible()) {
        // The window keeps its bottom-left corner, so it grows towards the top and the right.
        const QRectF current = m_slides->frameOf(m_window.get());
        m_slides->setFrame(m_window.get(), QRectF(current.topLeft(), m_state.windowSize()), true);
    }
    m_state.setDefaultPosition(calculateDefaultPosition());
}

void DrawerController::updateWindowOpacityRealTime()
{
    if (!m_window)
        return;
    m_state.setWindowOpacity(DrawerGeometry::clampOpacity(m_state.windowOpacity()));
    if (m_window->isVisible())
        m_window->setWindowOpacity(DrawerOpacity::effective(m_state));
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
    if (window)
        m_slides->slideIn(window);
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
