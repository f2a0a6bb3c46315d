#pragma once

class AppState;

/// The commands that act on the data as a whole: reset the settings, clear everything, export
/// the note to a file.
class DataCommands
{
public:
    explicit DataCommands(AppState &state);

    void resetToDefaults();
    void clearAllData();
    void exportNotes();

private:
    AppState &m_state;
};
