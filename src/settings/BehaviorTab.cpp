// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/BehaviorTab.h"

#include "app/AppState.h"
#include "app/GlobalHotkey.h"
#include "settings/KeyBadge.h"
#include "settings/SettingsStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

BehaviorTab::BehaviorTab(AppState &state, QWidget *parent)
    : SettingsTabPage(state, parent)
{
    QVBoxLayout *formatting
        = addSection(tr("Text Formatting"), tr("Automatic formatting while typing"));
    QVBoxLayout *toggles = addControlStack(formatting);
    m_bullets
        = addCheckBox(toggles, tr("Auto-format bullets (• → • )"), Settings::autoFormatBullets);
    m_numbers
        = addCheckBox(toggles, tr("Auto-format numbers (1. → 2. )"), Settings::autoFormatNumbers);
    m_dashes = addCheckBox(toggles, tr("Auto-format dashes (- → - )"), Settings::autoFormatDashes);
    m_smartLinks
        = addCheckBox(toggles, tr("Smart link insertion (Ctrl+K)"), Settings::smartLinkInsertion);

    m_bullets->setAccessibleDescription(
        tr("Continues a bulleted list when you press Return after an item"));
    m_numbers->setAccessibleDescription(
        tr("Continues a numbered list with the next number when you press Return"));
    m_dashes->setAccessibleDescription(
        tr("Continues a list of dashes when you press Return after an item"));
    m_smartLinks->setAccessibleDescription(
        tr("Ctrl+K in the notepad opens a dialog that adds a link"));

    QVBoxLayout *hotkey = addSection(tr("Global Hotkey"), tr("Show/hide notepad from anywhere"));
    auto *row = new QHBoxLayout;
    auto *current = new QLabel(tr("Current hotkey:"));
    current->setFont(SettingsStyle::caption(font()));
    SettingsStyle::useSecondaryText(current);
    row->addWidget(current);
    m_hotkey = new KeyBadge(GlobalHotkey::drawerKey);
    m_hotkey->setAccessibleName(tr("Alt plus backtick"));
    m_hotkey->setAccessibleDescription(
        tr("The key that shows and hides the notepad from any application"));
    row->addWidget(m_hotkey);
    row->addStretch(1);
    // The hot key is fixed, so the button is never enabled.
    m_change = new QPushButton(tr("Change"));
    m_change->setEnabled(false);
    m_change->setAccessibleDescription(tr("The hot key cannot be changed"));
    row->addWidget(m_change);
    hotkey->addLayout(row);

    finishSections();
}

QString BehaviorTab::hotkeyText() const
{
    return m_hotkey->text();
}
