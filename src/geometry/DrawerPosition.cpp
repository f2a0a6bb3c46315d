// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "geometry/DrawerPosition.h"

#include <QCoreApplication>

namespace DrawerPositions {

QString rawValue(DrawerPosition position)
{
    switch (position) {
    case DrawerPosition::Top:
        return QStringLiteral("top");
    case DrawerPosition::Right:
        return QStringLiteral("right");
    case DrawerPosition::Bottom:
        return QStringLiteral("bottom");
    case DrawerPosition::Left:
        return QStringLiteral("left");
    }
    return QStringLiteral("right");
}

std::optional<DrawerPosition> fromRawValue(const QString &raw)
{
    for (DrawerPosition position : all) {
        if (raw == rawValue(position))
            return position;
    }
    return std::nullopt;
}

QString label(DrawerPosition position)
{
    switch (position) {
    case DrawerPosition::Top:
        return QCoreApplication::translate("DrawerPositions", "Top");
    case DrawerPosition::Right:
        return QCoreApplication::translate("DrawerPositions", "Right");
    case DrawerPosition::Bottom:
        return QCoreApplication::translate("DrawerPositions", "Bottom");
    case DrawerPosition::Left:
        return QCoreApplication::translate("DrawerPositions", "Left");
    }
    return QCoreApplication::translate("DrawerPositions", "Right");
}

} // namespace DrawerPositions
