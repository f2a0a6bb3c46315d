#pragma once

#include <QObject>
#include <QRect>
#include <QRectF>

#include <optional>

/// The main screen as the drawer's geometry sees it.
struct ScreenFrames
{
    /// The whole screen, in screen coordinates (origin bottom-left of the primary screen, y up).
    QRectF frame;
    /// The screen without panels and docks, in the same coordinates.
    QRectF visibleFrame;
    /// The primary screen's Qt geometry (top-left origin, y down), for converting frames.
    QRect primaryGeometry;
};

/// Where the drawer code learns about screens. The application reads Qt's screens; tests hand
/// in a screen of their choosing.
class ScreenSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    /// The main screen, or nothing when there is none.
    virtual std::optional<ScreenFrames> mainScreen() const = 0;

Q_SIGNALS:
    /// A screen was added or removed, or the main screen or its visible area changed.
    void screensChanged();
};
