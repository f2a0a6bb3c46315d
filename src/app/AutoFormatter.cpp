// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AutoFormatter.h"

#include "app/AppState.h"
#include "text/ListContinuation.h"

#include <algorithm>
#include <utility>

AutoFormatter::AutoFormatter(const AppState &state)
    : m_state(state)
{ }

bool AutoFormatter::isEnabled() const
{
    return m_state.autoFormatBullets() || m_state.autoFormatNumbers() || m_state.autoFormatDashes();
}

std::optional<QString> AutoFormatter::markerAfter(const NoteEdit &edit) const
{
    if (!isEnabled())
        return std::nullopt;
    return ListContinuation::markerAfterEdit(m_state.noteContent(), edit.position, edit.removed,
                                             edit.inserted);
}

NoteEdit AutoFormatter::continued(NoteEdit edit) const
{
    const std::optional<QString> marker = markerAfter(edit);
    return marker ? joined(m_state.noteContent(), std::move(edit), *marker) : edit;
}

NoteEdit AutoFormatter::joined(QStringView note, NoteEdit edit, QStringView marker)
{
    edit.position = std::clamp<qsizetype>(edit.position, 0, note.size());
    edit.removed = std::clamp<qsizetype>(edit.removed, 0, note.size() - edit.position);
    // The marker goes to the note's very end: a change elsewhere (a note that already ended
    // with a line break after an item) takes the rest of the note with it.
    const qsizetype end = edit.position + edit.removed;
    edit.inserted.append(note.sliced(end));
    edit.inserted.append(marker);
    edit.removed = note.size() - edit.position;
    return edit;
}
