#include "app/DataCommands.h"

#include "app/AppState.h"
#include "app/Settings.h"
#include "app/UserPrompts.h"
#include "settings/SettingsWindow.h"
#include "storage/SettingsStore.h"

#include <QDir>
#include <QSaveFile>

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

    QSaveFile file(path);
    const QByteArray bytes = m_state.noteContent().toUtf8();
    const bool written
        = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (written)
        return;
    const QString reason = file.errorString();
    file.cancelWriting();
    m_state.prompts().showError(dialogParent(), QStringLiteral("Export Failed"),
                                QStringLiteral("The notes could not be written to \"%1\": %2")
                                    .arg(QDir::toNativeSeparators(path), reason));
}

QWidget *DataCommands::dialogParent() const
{
    return m_state.settingsWindow();
}
