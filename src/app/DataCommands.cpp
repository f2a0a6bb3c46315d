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

DataCommands::DataCommands(AppState &state)
    : m_state(state)
{ }

void DataCommands::resetToDefaults()
{
    // The reset's own order, given by each row's step.
    int lastStep = 0;
    Settings::forEach(
        [&lastStep](const auto &row) { lastStep = std::max(lastStep, row.resetStep); });
    for (int step = 1; step <= lastStep; ++step) {
        Settings::forEach([this, step](const auto &row) {
            if (row.resetStep == step)
                row.assign(m_state, row.initial);
        });
    }

    m_state.updateWindowSizeRealTime();
    m_state.updateWindowOpacityRealTime();
    m_state.updateMarginsRealTime();
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
