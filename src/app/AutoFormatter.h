// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class AppState;

/// Continues lists while the user types: after each change of the note, appends the next
/// marker when the note ends with a line break after a list item. The three auto-format
/// switches act together as its gate.
class AutoFormatter
{
public:
    explicit AutoFormatter(AppState &state);

    /// True when at least one of the three auto-format switches is on.
    bool isEnabled() const;

    /// Appends the next marker to the note when \a newText calls for one. Ignores every call
    /// made while its own write is being announced.
    void handleAutoFormatting(const QString &newText);

    bool isProcessingFormatting() const { return m_isProcessingFormatting; }

private:
    AppState &m_state;
    bool m_isProcessingFormatting = false;
};
