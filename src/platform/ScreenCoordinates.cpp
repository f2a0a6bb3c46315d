#include "platform/ScreenCoordinates.h"

#include <algorithm>
#include <cmath>

namespace ScreenCoordinates {

namespace {
// X11 keeps window positions in 16 signed bits and sizes in 16 unsigned bits; a window far
// larger than any screen only costs memory, so sizes stop well below that.
constexpr double coordinateLimit = 32767;
constexpr double sizeLimit = 16384;

int toCoordinate(double value)
{
    return int(std::lround(std::clamp(value, -coordinateLimit - 1, coordinateLimit)));
}

int toLength(double value)
{
    return int(std::lround(std::clamp(value, 1.0, sizeLimit)));
}
} // namespace

std::optional<QRect> toQtRect(const QRectF &frame, const QRect &primary)
{
    const double values[] = {frame.x(), frame.y(), frame.width(), frame.height()};
    if (!std::all_of(std::begin(values), std::end(values),
                     [](double v) { return std::isfinite(v); }))
        return std::nullopt;
    const double left = primary.left() + frame.x();
    const double top = primary.top() + primary.height() - (frame.y() + frame.height());
    return QRect(toCoordinate(left), toCoordinate(top), toLength(frame.width()),
                 toLength(frame.height()));
}

QRectF fromQtRect(const QRect &rect, const QRect &primary)
{
    return QRectF(rect.x() - primary.left(),
                  primary.top() + primary.height() - (double(rect.y()) + rect.height()),
                  rect.width(), rect.height());
}

} // namespace ScreenCoordinates
