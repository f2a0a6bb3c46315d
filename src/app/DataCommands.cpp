#include "app/DataCommands.h"

#include "app/AppState.h"
#include "app/UserPrompts.h"
#include "settings/SettingsWindow.h"
#include "storage/AtomicFile.h"
#include "storage/SettingsStore.h"

#include <QDir>

DataCommands::DataCommands(AppState &state)
    : m_state(state)
{ }

void DataCommands::resetToDefaults()
{
    m_state.setWindowWidth(400);
    m_state.setWindowHeight(600);
    m_state.setWindowOpacity(1.0);
    m_state.setManualMargins(20);
    m_state.setUseManualMargins(false);
    m_state.setBackgroundColor(QColor::fromRgbF(0, 0, 0, 0.3f));
    m_state.setTextColor(Qt::white);
    m_state.setUseCustomColors(false);
    m_state.setDrawerPosition(DrawerPosition::Right);
    m_state.setAutoFormatBullets(true);
    m_state.setAutoFormatNumbers(true);
    m_state.setAutoFormatDashes(true);
    m_state.setSmartLinkInsertion(true);
    m_state.setHideScrollIndicators(true);
    m_state.setReduceMotion(false);
    m_state.setHighContrastMode(false);

    m_state.updateWindowSizeRealTime();
    m_state.updateWindowOpacityRealTime();
    m_state.updateMarginsRealTime();
}

void DataCommands::clearAllData()
{
    if (!m_state.prompts().confirmClearAll(dialogParent()))
        return;
    SettingsStore &store = m_state.userDefaults();
    for (const char *key :
         {"noteContent", "drawerPosition", "windowWidth", "windowHeight", "windowOpacity"})
        store.remove(QString::fromLatin1(key));
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
    m_state.prompts().showError(dialogParent(), QStringLiteral("Export Failed"),
                                QStringLiteral("The notes could not be written to \"%1\": %2")
                                    .arg(QDir::toNativeSeparators(path), reason));
}

QWidget *DataCommands::dialogParent() const
{
    return m_state.settingsWindow();
}
