#pragma once

#include "platform/ScreenSource.h"

/// A screen that stays as it is told: the benchmarks' and tests' stand-in for Qt's screens.
/// Without frames it reports no main screen.
class FixedScreenSource : public ScreenSource
{
    Q_OBJECT

public:
    FixedScreenSource() = default;
    /// A primary screen with the full frame \a frame and the visible frame \a visibleFrame.
    FixedScreenSource(const QRectF &frame, const QRectF &visibleFrame);

    /// Replaces the screen, as when screens are plugged or panels move.
    void setScreen(std::optional<ScreenFrames> screen)
    {
        m_screen = screen;
        Q_EMIT screensChanged();
    }
    std::optional<ScreenFrames> mainScreen() const override { return m_screen; }

private:
    std::optional<ScreenFrames> m_screen;
};
