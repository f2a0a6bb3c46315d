#include "FixedScreenSource.h"

FixedScreenSource::FixedScreenSource(const QRectF &frame, const QRectF &visibleFrame)
    : m_screen(ScreenFrames {frame, visibleFrame, frame.toRect()})
{ }
