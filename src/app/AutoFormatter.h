// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "text/NoteEdit.h"

#include <QString>
#include <QStringView>

#include <optional>

class AppState;

/// Continues lists as part of the edit that calls for it: when the note, once an edit is made,
/// ends with a line break after a list item, the same change appends the next marker. The
/// three auto-format switches act together as its gate. Writes nothing itself: the editor and
/// the append from outside make the change it gives.
class AutoFormatter
{
public:
    explicit AutoFormatter(const AppState &state);

    /// True when at least one of the three auto-format switches is on.
    bool isEnabled() const;

    /// The marker the list rule appends to the note once \a edit is made; nothing when the
    /// switches are off or the edit calls for none.
    std::optional<QString> markerAfter(const NoteEdit &edit) const;

    /// \a edit with its continuation made part of it: one change of the note.
    NoteEdit continued(NoteEdit edit) const;

    /// \a edit of \a note and \a marker appended to the note's end after it, as one change:
    /// an edit that ends before the note's end reaches to it.
    static NoteEdit joined(QStringView note, NoteEdit edit, QStringView marker);

private:
    const AppState &m_state;
};
