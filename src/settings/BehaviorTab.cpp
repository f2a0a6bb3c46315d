#include "settings/BehaviorTab.h"

#include "app/AppState.h"
#include "settings/KeyBadge.h"
#include "settings/SettingsStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

BehaviorTab::BehaviorTab(AppState &state, QWidget *parent)
    : SettingsTabPage(state, parent)
{
    QVBoxLayout *formatting = addSection(QStringLiteral("Text Formatting"),
                                         QStringLiteral("Automatic formatting while typing"));
    QVBoxLayout *toggles = addControlStack(formatting);
    m_bullets = addCheckBox(toggles, QStringLiteral("Auto-format bullets (• → • )"),
                            Settings::autoFormatBullets);
    m_numbers = addCheckBox(toggles, QStringLiteral("Auto-format numbers (1. → 2. )"),
                            Settings::autoFormatNumbers);
    m_dashes = addCheckBox(toggles, QStringLiteral("Auto-format dashes (- → - )"),
                           Settings::autoFormatDashes);
    m_smartLinks = addCheckBox(toggles, QStringLiteral("Smart link insertion (Ctrl+K)"),
                               Settings::smartLinkInsertion);

    QVBoxLayout *hotkey = addSection(QStringLiteral("Global Hotkey"),
                                     QStringLiteral("Show/hide notepad from anywhere"));
    auto *row = new QHBoxLayout;
    auto *current = new QLabel(QStringLiteral("Current hotkey:"));
    current->setFont(SettingsStyle::caption(font()));
    SettingsStyle::useSecondaryText(current);
    row->addWidget(current);
    m_hotkey = new KeyBadge(QStringLiteral("Alt + `"));
    row->addWidget(m_hotkey);
    row->addStretch(1);
    // The hot key is fixed, so the button is never enabled.
    m_change = new QPushButton(QStringLiteral("Change"));
    m_change->setEnabled(false);
    row->addWidget(m_change);
    hotkey->addLayout(row);

    finishSections();
}

QString BehaviorTab::hotkeyText() const
{
    return m_hotkey->text();
}
