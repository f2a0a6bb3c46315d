// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Subsystems.h"

#include "app/AppState.h"
#include "drawer/DrawerController.h"
#include "drawer/GlobalHotkey.h"
#include "editor/NoteAppend.h"
#include "settings/SettingsWindow.h"

namespace Subsystems {

void provide(AppServices &services)
{
    services.makeDrawer = [](AppState &state) { return std::make_unique<DrawerController>(state); };
    services.makeHotkey = [](AppState &state) { return std::make_unique<GlobalHotkey>(state); };
    services.makeSettingsWindow
        = [](AppState &state) { return std::make_unique<SettingsWindow>(state); };
    services.appendToNote = [](AppState &state, QStringView text) {
        const NoteAppend::Edit edit = NoteAppend::appending(state.noteContent(), text);
        if (!state.noteFits(edit.removed, edit.inserted))
            return false;
        if (edit.removed > 0 || !edit.inserted.isEmpty())
            state.replaceNoteRange(edit.position, edit.removed, edit.inserted);
        return true;
    };
}

} // namespace Subsystems
