// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ScreenSource.h"

#include <QList>

/// Screens that stay as they are told: the benchmarks' and tests' stand-in for Qt's screens.
/// Without frames it reports no main screen.
class FixedScreenSource : public ScreenSource
{
    Q_OBJECT

public:
    FixedScreenSource() = default;
    /// A primary screen with the full frame \a frame and the visible frame \a visibleFrame.
    FixedScreenSource(const QRectF &frame, const QRectF &visibleFrame);

    /// Replaces the screens by \a screen alone, as when screens are plugged or panels move.
    void setScreen(std::optional<ScreenFrames> screen)
    {
        m_screens.clear();
        if (screen)
            m_screens.append(*screen);
        m_main = 0;
        Q_EMIT screensChanged();
    }
    /// Replaces the screens; the one at \a main holds the pointer.
    void setScreens(const QList<ScreenFrames> &screens, int main)
    {
        m_screens = screens;
        m_main = main;
        Q_EMIT screensChanged();
    }
    /// Moves the pointer to the screen at \a main (no signal: Qt sends none either).
    void setMainScreen(int main) { m_main = main; }

    std::optional<ScreenFrames> mainScreen() const override
    {
        if (m_main < 0 || m_main >= m_screens.size())
            return std::nullopt;
        return m_screens.at(m_main);
    }
    std::optional<ScreenFrames> screenWithFrame(const QRectF &frame) const override
    {
        for (const ScreenFrames &screen : m_screens) {
            if (screen.frame == frame)
                return screen;
        }
        return std::nullopt;
    }

private:
    QList<ScreenFrames> m_screens;
    int m_main = 0;
};
