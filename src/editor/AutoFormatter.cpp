// PLACEHOLDER: the list-continuation helper replaces this file.
#include "editor/AutoFormatter.h"

#include "app/AppState.h"

AutoFormatter::AutoFormatter(AppState &state)
    : m_state(state)
{
}

bool AutoFormatter::isEnabled() const
{
    return m_state.autoFormatBullets() || m_state.autoFormatNumbers() || m_state.autoFormatDashes();
}

void AutoFormatter::handleAutoFormatting(const QString &) { }
