// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/CompositorOutput.h"
#include "platform/ScreenSource.h"

class QScreen;

/// Qt's screens: the main screen is the one the compositor calls active where it tells (sway,
/// KWin: through XWayland the X server's pointer is stale), else the one under the pointer, else
/// the primary one; a screen's available geometry is its visible frame.
class QtScreenSource : public ScreenSource
{
    Q_OBJECT

public:
    /// Follows Qt's screens; needs the GUI application to exist.
    explicit QtScreenSource(QObject *parent = nullptr);

    std::optional<ScreenFrames> mainScreen() const override;
    std::optional<ScreenFrames> screenWithFrame(const QRectF &frame) const override;

private:
    void watch(QScreen *screen);
    /// The screen of the compositor's active output, when it names one Qt knows.
    QScreen *compositorsScreen() const;
    static std::optional<ScreenFrames> framesOf(const QScreen *screen);

    CompositorOutput::Compositor m_compositor = CompositorOutput::Compositor::None;
};
