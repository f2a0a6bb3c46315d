#pragma once

#include "drawer/ScreenSource.h"

/// A screen that stays as it is told: the benchmarks' and tests' stand-in for Qt's screens.
/// Without frames it reports no main screen.
class FixedScreenSource : public ScreenSource
{
public:
    FixedScreenSource() = default;
    /// A primary screen with the full frame \a frame and the visible frame \a visibleFrame.
    FixedScreenSource(const QRectF &frame, const QRectF &visibleFrame);

    void setScreen(std::optional<ScreenFrames> screen) { m_screen = screen; }
    std::optional<ScreenFrames> mainScreen() const override { return m_screen; }

private:
    std::optional<ScreenFrames> m_screen;
};
