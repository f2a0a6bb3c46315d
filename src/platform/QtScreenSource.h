#pragma once

#include "platform/ScreenSource.h"

/// The main screen is Qt's primary screen; its available geometry is the visible frame.
class QtScreenSource : public ScreenSource
{
    Q_OBJECT

public:
    /// Follows Qt's screens; needs the GUI application to exist.
    explicit QtScreenSource(QObject *parent = nullptr);

    std::optional<ScreenFrames> mainScreen() const override;

private:
    void watchPrimaryScreen();
};
