// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>

class AppState;
class QWidget;

/// The commands that act on the data as a whole: reset the settings, clear everything, export
/// the note to a file.
class DataCommands
{
    Q_DECLARE_TR_FUNCTIONS(DataCommands)

public:
    explicit DataCommands(AppState &state);

    /// Puts every setting back to its initial value and makes the drawer follow; the note stays.
    void resetToDefaults();
    /// After the user confirms: removes the note and the drawer's saved place, size and
    /// opacity from the settings file, empties the note and resets the settings.
    void clearAllData();
    /// Writes the note, unchanged, as UTF-8 to a file the user chooses; the file is replaced as
    /// a whole or not at all. A failed write is reported to the user.
    void exportNotes();

private:
    /// The window the dialogs belong to: the settings window once it exists.
    QWidget *dialogParent() const;

    AppState &m_state;
};
