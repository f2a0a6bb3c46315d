#include "drawer/DrawerGeometry.h"

#include <algorithm>
#include <cmath>

namespace DrawerGeometry {

namespace {
// X11 keeps window positions in 16 signed bits and sizes in 16 unsigned bits; a window far
// larger than any screen only costs memory, so sizes stop well below that.
constexpr double coordinateLimit = 32767;
constexpr double sizeLimit = 16384;

// Rounds half up whatever the sign, so that two edges a whole number apart stay that far apart.
int toCoordinate(double value)
{
    return int(std::floor(std::clamp(value, -coordinateLimit - 1, coordinateLimit) + 0.5));
}

int toLength(int length)
{
    return std::clamp(length, 1, int(sizeLimit));
}
} // namespace

QPointF restingOrigin(DrawerPosition edge, QSizeF size, const QRectF &visible)
{
    const double w = size.width();
    const double h = size.height();
    const double midX = visible.x() + visible.width() / 2;
    const double midY = visible.y() + visible.height() / 2;
    const double maxX = visible.x() + visible.width();
    const double maxY = visible.y() + visible.height();
    switch (edge) {
    case DrawerPosition::Top:
        return {midX - w / 2, maxY - h};
    case DrawerPosition::Right:
        return {maxX - w, midY - h / 2};
    case DrawerPosition::Bottom:
        return {midX - w / 2, visible.y()};
    case DrawerPosition::Left:
        return {visible.x(), midY - h / 2};
    }
    return {};
}

QRectF entryFrame(DrawerPosition edge, QPointF resting, QSizeF size, const QRectF &screen)
{
    const double w = size.width();
    const double h = size.height();
    switch (edge) {
    case DrawerPosition::Top:
        return {resting.x(), screen.y() + screen.height() + entryDistance, w, h};
    case DrawerPosition::Right:
        return {screen.x() + screen.width() + entryDistance, resting.y(), w, h};
    case DrawerPosition::Bottom:
        return {resting.x(), -entryDistance - h, w, h};
    case DrawerPosition::Left:
        return {-entryDistance - w, resting.y(), w, h};
    }
    return {};
}

QRectF exitFrame(DrawerPosition edge, const QRectF &current, const QRectF &screen)
{
    const double w = current.width();
    const double h = current.height();
    switch (edge) {
    case DrawerPosition::Top:
        return {current.x(), screen.y() + screen.height() + exitDistance, w, h};
    case DrawerPosition::Right:
        return {screen.x() + screen.width() + exitDistance, current.y(), w, h};
    case DrawerPosition::Bottom:
        return {current.x(), -exitDistance - h, w, h};
    case DrawerPosition::Left:
        return {-exitDistance - w, current.y(), w, h};
    }
    return {};
}

double automaticMargins(double width)
{
    const double margins = 10 * std::log(width / 300) + 20;
    // Written so that a NaN fails the comparison and falls to 20.
    return margins >= 20 ? margins : 20;
}

double clampOpacity(double opacity)
{
    if (std::isnan(opacity))
        return maximumOpacity;
    return std::max(std::min(opacity, maximumOpacity), minimumOpacity);
}

std::optional<QRect> toQtRect(const QRectF &frame, const QRect &primary)
{
    const double values[] = {frame.x(), frame.y(), frame.width(), frame.height()};
    if (!std::all_of(std::begin(values), std::end(values),
                     [](double v) { return std::isfinite(v); }))
        return std::nullopt;
    // The edges are rounded, not the sizes: a frame flush with a screen edge stays flush.
    const double left = primary.left() + frame.x();
    const double top = primary.top() + primary.height() - (frame.y() + frame.height());
    const int x = toCoordinate(left);
    const int y = toCoordinate(top);
    const double width = std::min(frame.width(), sizeLimit);
    const double height = std::min(frame.height(), sizeLimit);
    return QRect(x, y, toLength(toCoordinate(left + width) - x),
                 toLength(toCoordinate(top + height) - y));
}

QRectF fromQtRect(const QRect &rect, const QRect &primary)
{
    return QRectF(rect.x() - primary.left(),
                  primary.top() + primary.height() - (double(rect.y()) + rect.height()),
                  rect.width(), rect.height());
}

} // namespace DrawerGeometry
