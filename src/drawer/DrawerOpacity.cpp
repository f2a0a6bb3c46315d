// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawer/DrawerOpacity.h"

#include "app/AppState.h"
#include "drawer/DrawerGeometry.h"

namespace DrawerOpacity {

double effective(const AppState &state)
{
    // A stored opacity is loaded as it is; the window never goes below the least opacity.
    return state.highContrastMode() ? 1.0 : DrawerGeometry::clampOpacity(state.windowOpacity());
}

} // namespace DrawerOpacity
