// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ScreenSource.h"

class QScreen;

/// Qt's screens: the main screen is the one under the pointer (the primary one when the pointer
/// is on none); a screen's available geometry is its visible frame.
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
    static std::optional<ScreenFrames> framesOf(const QScreen *screen);
};
