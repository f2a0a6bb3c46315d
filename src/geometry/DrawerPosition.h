// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <array>
#include <optional>

/// The screen edge the drawer slides from. The raw values are what the settings file stores.
enum class DrawerPosition { Top, Right, Bottom, Left };

namespace DrawerPositions {

/// Every edge, in the order the menu lists them.
inline constexpr std::array<DrawerPosition, 4> all
    = {DrawerPosition::Top, DrawerPosition::Right, DrawerPosition::Bottom, DrawerPosition::Left};

/// "top", "right", "bottom" or "left".
QString rawValue(DrawerPosition position);

/// The edge whose raw value is exactly \a raw (case-sensitive), or nothing.
std::optional<DrawerPosition> fromRawValue(const QString &raw);

/// "Top", "Right", "Bottom" or "Left", as the menu and the read-out show it, in the user's
/// language.
QString label(DrawerPosition position);

} // namespace DrawerPositions
