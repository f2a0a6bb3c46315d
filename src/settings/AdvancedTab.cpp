// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/AdvancedTab.h"

#include "app/AppState.h"
#include "app/NumberFormat.h"
#include "settings/DebugRow.h"
#include "settings/SettingsStyle.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

AdvancedTab::AdvancedTab(AppState &state, QWidget *parent)
    : SettingsTabPage(state, parent)
{
    QVBoxLayout *performance
        = addSection(tr("Performance"), tr("Advanced display and behavior settings"));
    QVBoxLayout *toggles = addControlStack(performance);
    m_hideScrollIndicators
        = addCheckBox(toggles, tr("Hide scroll indicators"), Settings::hideScrollIndicators);
    m_reduceMotion = addCheckBox(toggles, tr("Reduce motion effects"), Settings::reduceMotion);
    m_highContrast = addCheckBox(toggles, tr("High contrast mode"), Settings::highContrastMode);

    m_hideScrollIndicators->setAccessibleDescription(tr("Hides the notepad's scroll bar"));
    m_reduceMotion->setAccessibleDescription(
        tr("Shows and hides the notepad at once, without sliding"));
    m_highContrast->setAccessibleDescription(
        tr("Draws the notepad's text bold, with a wider cursor and a yellow selection"));

    buildReadOut();

    QVBoxLayout *data
        = addSection(tr("Data Management"), tr("Manage stored content and preferences"));
    auto *buttons = new QHBoxLayout;
    m_export = new QPushButton(tr("Export Notes"));
    m_clear = new QPushButton(tr("Clear All Data"));
    const auto colourClear = [this] {
        SettingsStyle::setTextColor(
            m_clear, SettingsStyle::destructiveText(palette(), m_state.highContrastMode()));
    };
    colourClear();
    connect(&m_state, &AppState::highContrastModeChanged, m_clear, colourClear);
    m_export->setAccessibleDescription(tr("Saves the note as a text file"));
    m_clear->setAccessibleDescription(
        tr("Deletes the note and resets every setting, after asking you"));
    buttons->addWidget(m_export);
    buttons->addWidget(m_clear);
    buttons->addStretch(1);
    data->addLayout(buttons);
    AppState *model = &m_state;
    connect(m_export, &QPushButton::clicked, this, [model] { model->exportNotes(); });
    connect(m_clear, &QPushButton::clicked, this, [model] { model->clearAllData(); });

    finishSections();
}

void AdvancedTab::buildReadOut()
{
    QVBoxLayout *section = addSection(tr("Debug Information"), tr("Current application state"));
    auto *readOut = new QWidget;
    readOut->setFont(SettingsStyle::monospacedCaption(font()));
    auto *rows = new QVBoxLayout(readOut);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(4);
    m_windowSize = new DebugRow(tr("Window Size"), {});
    m_opacity = new DebugRow(tr("Opacity"), {});
    m_margins = new DebugRow(tr("Margins"), {});
    m_position = new DebugRow(tr("Position"), {});
    m_textLength = new DebugRow(tr("Text Length"), {});
    for (DebugRow *row : {m_windowSize, m_opacity, m_margins, m_position, m_textLength})
        rows->addWidget(row);
    section->addWidget(readOut);

    showWindowSize();
    connect(&m_state, &AppState::windowWidthChanged, this, &AdvancedTab::showWindowSize);
    connect(&m_state, &AppState::windowHeightChanged, this, &AdvancedTab::showWindowSize);
    m_state.subscribe(&AppState::windowOpacity, &AppState::windowOpacityChanged, m_opacity,
                      [this](double opacity) {
                          m_opacity->setValue(NumberFormat::printf("%.1f%%", opacity * 100));
                      });
    m_state.subscribe(&AppState::currentMargins, &AppState::currentMarginsChanged, m_margins,
                      [this](double margins) {
                          m_margins->setValue(NumberFormat::wholeNumber(margins)
                                              + QStringLiteral("px"));
                      });
    m_state.subscribe(&AppState::drawerPosition, &AppState::drawerPositionChanged, m_position,
                      [this](DrawerPosition position) {
                          m_position->setValue(DrawerPositions::label(position));
                      });

    m_noteLength.reset(m_state.noteContent());
    showTextLength();
    // The edit signal comes after the model took the edit, so the note read here is the new one.
    connect(&m_state, &AppState::noteContentEdited, this,
            [this](qsizetype position, qsizetype removed, qsizetype added) {
                m_noteLength.edit(m_state.noteContent(), position, removed, added);
                showTextLength();
            });
}

void AdvancedTab::showWindowSize()
{
    m_windowSize->setValue(NumberFormat::wholeNumber(m_state.windowWidth()) + QStringLiteral(" × ")
                           + NumberFormat::wholeNumber(m_state.windowHeight()));
}

void AdvancedTab::showTextLength()
{
    m_textLength->setValue(tr("%1 chars").arg(m_noteLength.count()));
}
