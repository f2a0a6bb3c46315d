// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class AppState;

namespace DrawerOpacity {

/// The opacity the drawer window shows: the user's opacity within 0.3 to 1.0, or fully opaque
/// while high contrast is on.
double effective(const AppState &state);

} // namespace DrawerOpacity
