// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct AppServices;

/// Where the subsystems meet the model: the makers of the drawer's window and controller, of
/// the global hot key and of the settings window, which the model calls as it starts and when
/// the settings window is first asked for.
namespace Subsystems {

/// Hands \a services the makers of the drawer, the hot key and the settings window.
void provide(AppServices &services);

} // namespace Subsystems
