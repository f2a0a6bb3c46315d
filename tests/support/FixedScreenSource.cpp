#include "FixedScreenSource.h"

FixedScreenSource::FixedScreenSource(const QRectF &frame, const QRectF &visibleFrame)
    : m_screens({ScreenFrames {frame, visibleFrame, frame.toRect()}})
{ }
