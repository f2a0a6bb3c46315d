// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AutoFormatter.h"

#include "app/AppState.h"
#include "text/ListContinuation.h"

#include <QScopeGuard>

AutoFormatter::AutoFormatter(AppState &state)
    : m_state(state)
{ }

bool AutoFormatter::isEnabled() const
{
    return m_state.autoFormatBullets() || m_state.autoFormatNumbers() || m_state.autoFormatDashes();
}

void AutoFormatter::handleAutoFormatting(const QString &newText)
{
    if (m_isProcessingFormatting)
        return;
    const std::optional<QString> marker = ListContinuation::markerToAppend(newText);
    if (!marker)
        return;

    // The write below announces itself at once and may come back here through the change hook.
    m_isProcessingFormatting = true;
    const auto done = qScopeGuard([this] { m_isProcessingFormatting = false; });
    // The text handed over is the note itself: append in place, so a long note is not copied
    // for two characters. Any other text is assigned whole.
    if (&newText == &m_state.noteContent())
        m_state.replaceNoteRange(newText.size(), 0, *marker);
    else
        m_state.setNoteContent(newText + *marker);
}
