// PLACEHOLDER: the settings helper replaces this file.
#include "app/DataCommands.h"

DataCommands::DataCommands(AppState &state)
    : m_state(state)
{ }

void DataCommands::resetToDefaults() { }
void DataCommands::clearAllData() { }
void DataCommands::exportNotes() { }
