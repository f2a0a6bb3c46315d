// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawer/DrawerShadow.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <cmath>
#include <vector>

namespace {
constexpr double sigma = DrawerShadow::blurRadius / 2.0;
const int reach = int(std::ceil(3 * sigma));

/// How much of a blurred unit line from \a from to \a to covers each pixel of \a length.
std::vector<double> profile(int length, double from, double to)
{
    std::vector<double> values(std::size_t(std::max(length, 0)));
    const double scale = 1.0 / (sigma * std::sqrt(2.0));
    for (int i = 0; i < length; ++i) {
        const double centre = i + 0.5;
        values[std::size_t(i)]
            = 0.5 * (std::erf((centre - from) * scale) - std::erf((centre - to) * scale));
    }
    return values;
}
} // namespace

QMargins DrawerShadow::extents()
{
    return QMargins(reach - offset.x(), reach - offset.y(), reach + offset.x(), reach + offset.y());
}

QImage DrawerShadow::render(QSize size)
{
    const QMargins margins = extents();
    QImage image(size.grownBy(margins), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    // The shadow is the frame moved by the offset, in the image's coordinates.
    const double left = margins.left() + offset.x();
    const double top = margins.top() + offset.y();
    const std::vector<double> across = profile(image.width(), left, left + size.width());
    const std::vector<double> down = profile(image.height(), top, top + size.height());
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const double row = opacity * 255 * down[std::size_t(y)];
        for (int x = 0; x < image.width(); ++x) {
            // Premultiplied black: the alpha alone.
            const auto alpha = unsigned(std::lround(row * across[std::size_t(x)]));
            line[x] = alpha << 24;
        }
    }
    return image;
}

void DrawerShadow::paint(QPainter &painter, const QRect &frame)
{
    if (frame.isEmpty())
        return;
    if (m_size != frame.size() || m_pixmap.isNull()) {
        m_pixmap = QPixmap::fromImage(render(frame.size()));
        m_size = frame.size();
    }
    painter.save();
    // The frame paints itself; a translucent one must not darken by the shadow under it.
    painter.setClipRegion(QRegion(bounds(frame)).subtracted(QRegion(frame)), Qt::IntersectClip);
    painter.drawPixmap(bounds(frame).topLeft(), m_pixmap);
    painter.restore();
}
