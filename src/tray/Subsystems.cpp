// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/Subsystems.h"

#include "app/AppState.h"
#include "app/GlobalHotkey.h"
#include "drawer/DrawerController.h"
#include "settings/SettingsWindow.h"

namespace Subsystems {

void provide(AppServices &services)
{
    services.makeDrawer = [](AppState &state) { return std::make_unique<DrawerController>(state); };
    services.makeHotkey = [](AppState &state) { return std::make_unique<GlobalHotkey>(state); };
    services.makeSettingsWindow
        = [](AppState &state) { return std::make_unique<SettingsWindow>(state); };
}

} // namespace Subsystems
