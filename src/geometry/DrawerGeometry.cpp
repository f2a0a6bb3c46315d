// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "geometry/DrawerGeometry.h"

#include <cmath>

namespace DrawerGeometry {

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

namespace {
// A frame of \a size beyond \a edge by \a distance, keeping \a along's place on the other axis.
QRectF frameBeyond(DrawerPosition edge, QPointF along, QSizeF size, const QRectF &screen,
                   double distance)
{
    const double w = size.width();
    const double h = size.height();
    switch (edge) {
    case DrawerPosition::Top:
        return {along.x(), screen.y() + screen.height() + distance, w, h};
    case DrawerPosition::Right:
        return {screen.x() + screen.width() + distance, along.y(), w, h};
    case DrawerPosition::Bottom:
        return {along.x(), -distance - h, w, h};
    case DrawerPosition::Left:
        return {-distance - w, along.y(), w, h};
    }
    return {};
}
} // namespace

QRectF entryFrame(DrawerPosition edge, QPointF resting, QSizeF size, const QRectF &screen)
{
    return frameBeyond(edge, resting, size, screen, entryDistance);
}

QRectF exitFrame(DrawerPosition edge, const QRectF &current, const QRectF &screen)
{
    return frameBeyond(edge, current.topLeft(), current.size(), screen, exitDistance);
}

double automaticMargins(double width)
{
    const double margins = 10 * std::log(width / 300) + 20;
    // Written so that a NaN fails the comparison and falls to 20.
    return margins >= 20 ? margins : 20;
}

} // namespace DrawerGeometry
