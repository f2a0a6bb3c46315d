#pragma once

#include "drawer/ScreenSource.h"

/// The main screen is Qt's primary screen; its available geometry is the visible frame.
class QtScreenSource : public ScreenSource
{
public:
    std::optional<ScreenFrames> mainScreen() const override;
};
