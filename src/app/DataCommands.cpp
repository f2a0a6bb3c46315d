// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/DataCommands.h"

#include "app/AppState.h"
#include "app/Settings.h"
#include "app/UserPrompts.h"
#include "storage/AtomicFile.h"
#include "storage/NoteStore.h"
#include "storage/SettingsStore.h"

#include <QDir>

#include <algorithm>
#include <vector>

DataCommands::DataCommands(AppState &state)
    : m_state(state)
{ }

void DataCommands::resetToDefaults()
{
    // Every row back to its initial value in the table's order; then the drawer follows, each
    // operation once, in the order of the rows that name it.
    std::vector<void (AppState::*)()> applies;
    Settings::forEach([this, &applies](const auto &row) {
        if (!row.reset)
            return;
        row.assign(m_state, row.initial);
        if (row.apply && std::find(applies.begin(), applies.end(), row.apply) == applies.end())
            applies.push_back(row.apply);
    });
    for (const auto apply : applies)
        (m_state.*apply)();
}

void DataCommands::clearAllData()
{
    if (!m_state.prompts().confirmClearAll(dialogParent()))
        return;
    m_state.noteStore().remove();
    SettingsStore &store = m_state.userDefaults();
    Settings::forEach([&store](const auto &row) {
        if (!row.removedByClearAll)
            return;
        for (const char *key : row.keys) {
            if (key)
                store.remove(QString::fromLatin1(key));
        }
    });
    m_state.setNoteContent(QString());
    resetToDefaults();
}

void DataCommands::exportNotes()
{
    const QString path = m_state.prompts().chooseExportFile(dialogParent());
    if (path.isEmpty())
        return;

    // The file the user chose keeps its permissions, and a link there is followed to its file.
    AtomicFile file(path, AtomicFile::Mode::KeepPermissions);
    if (file.write(m_state.noteContent().toUtf8()))
        return;
    const QString reason = file.errorString();
    m_state.prompts().showError(dialogParent(), tr("Export Failed"),
                                tr("The notes could not be written to \"%1\": %2")
                                    .arg(QDir::toNativeSeparators(path), reason));
}

QWidget *DataCommands::dialogParent() const
{
    return m_state.settings() ? m_state.settings()->dialogParent() : nullptr;
}
