// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/AppearanceTab.h"

#include "app/AppState.h"
#include "app/NumberFormat.h"
#include "settings/Binding.h"
#include "settings/ColorWell.h"
#include "settings/SettingsStyle.h"
#include "settings/SliderRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int colorLabelWidth = 80;

double percent(double fraction)
{
    return fraction * 100;
}
} // namespace

AppearanceTab::AppearanceTab(AppState &state, QWidget *parent)
    : SettingsTabPage(state, parent)
{
    buildSizeSection();
    buildTransparencySection();
    buildMarginsSection();
    buildColorsSection();
    finishSections();
}

void AppearanceTab::buildSizeSection()
{
    QVBoxLayout *section
        = addSection(tr("Window Size"), tr("Changes apply immediately to open window"));
    QVBoxLayout *stack = addControlStack(section);
    m_width = addSlider(stack, tr("Width"), Settings::windowWidth, "%.0f px");
    m_height = addSlider(stack, tr("Height"), Settings::windowHeight, "%.0f px");
    m_width->setDescription(tr("Sets the notepad's width"));
    m_height->setDescription(tr("Sets the notepad's height"));
}

void AppearanceTab::buildTransparencySection()
{
    QVBoxLayout *section = addSection(tr("Transparency"),
                                      tr("Adjust window opacity for better desktop integration"));
    m_opacity = addSlider(section, tr("Opacity"), Settings::windowOpacity, "%.0f%%", percent);
    m_opacity->setDescription(tr("Sets how opaque the notepad is"));
}

void AppearanceTab::buildMarginsSection()
{
    QVBoxLayout *section
        = addSection(tr("Text Margins"), tr("Control padding around text content"));
    QVBoxLayout *stack = addControlStack(section);
    AppState *state = &m_state;

    m_manualMargins = new QCheckBox(tr("Use manual margins"));
    m_manualMargins->setAccessibleDescription(
        tr("Sets the text margins by hand instead of from the notepad's width"));
    stack->addWidget(m_manualMargins);
    // toggled(), not clicked(): assistive technology's toggle action does not click.
    connect(m_manualMargins, &QCheckBox::toggled, this, [state](bool on) {
        if (state->useManualMargins() != on)
            state->setUseManualMargins(on);
    });

    m_margins = addSlider(stack, tr("Margins"), Settings::manualMargins, "%.0f px");
    m_margins->setDescription(tr("Sets the space between the text and the notepad's edges"));

    m_automaticPanel = new QWidget;
    auto *panel = new QVBoxLayout(m_automaticPanel);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSpacing(8);
    auto *readOut = new QHBoxLayout;
    const auto caption = [this](const QString &text) {
        auto *label = new QLabel(text);
        label->setTextFormat(Qt::PlainText);
        label->setFont(SettingsStyle::caption(font()));
        SettingsStyle::useSecondaryText(label);
        return label;
    };
    readOut->addWidget(caption(tr("Current margins:")));
    m_currentMargins = new QLabel;
    m_currentMargins->setTextFormat(Qt::PlainText);
    m_currentMargins->setFont(SettingsStyle::monospacedCaption(font()));
    readOut->addWidget(m_currentMargins);
    readOut->addStretch(1);
    readOut->addWidget(caption(tr("Auto: log(width/300) × 10 + 20")));
    panel->addLayout(readOut);
    QLabel *explanation
        = caption(tr("Margins automatically increase as window gets wider for better readability"));
    explanation->setWordWrap(true);
    panel->addWidget(explanation);
    stack->addWidget(m_automaticPanel);

    m_state.subscribe(&AppState::currentMargins, &AppState::currentMarginsChanged, m_currentMargins,
                      [this](double margins) {
                          m_currentMargins->setText(NumberFormat::wholeNumber(margins)
                                                    + QStringLiteral("px"));
                      });
    m_state.subscribe(&AppState::useManualMargins, &AppState::useManualMarginsChanged, this,
                      [this](bool on) {
                          m_manualMargins->setChecked(on);
                          m_margins->setVisible(on);
                          m_automaticPanel->setVisible(!on);
                          const bool changed = m_shownManualMargins && *m_shownManualMargins != on;
                          m_shownManualMargins = on;
                          if (changed)
                              m_state.updateMarginsRealTime();
                      });
}

void AppearanceTab::buildColorsSection()
{
    QVBoxLayout *section
        = addSection(tr("Text Colors"), tr("Customize background and text colors"));
    QVBoxLayout *stack = addControlStack(section);
    AppState *state = &m_state;

    m_customColors = new QCheckBox(tr("Use custom colors"));
    m_customColors->setAccessibleDescription(tr("Draws the notepad in the two colors below"));
    stack->addWidget(m_customColors);
    connect(m_customColors, &QCheckBox::toggled, this, [state](bool on) {
        if (state->useCustomColors() != on)
            state->setUseCustomColors(on);
    });

    m_backgroundWell = new ColorWell(bindSetting(m_state, Settings::backgroundColor));
    m_backgroundWell->setTitle(tr("Background"));
    m_backgroundWell->setAccessibleDescription(
        tr("Opens a color chooser for the notepad's background"));
    m_textWell = new ColorWell(bindSetting(m_state, Settings::textColor));
    m_textWell->setTitle(tr("Text Color"));
    m_textWell->setAccessibleDescription(tr("Opens a color chooser for the notepad's text"));

    m_colorRows = new QWidget;
    auto *rows = new QVBoxLayout(m_colorRows);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(8);
    rows->addWidget(colorRow(tr("Background:"), m_backgroundWell));
    rows->addWidget(colorRow(tr("Text Color:"), m_textWell));
    stack->addWidget(m_colorRows);

    for (ColorWell *well : {m_backgroundWell, m_textWell})
        connect(well, &ColorWell::colorChosen, this, [state] { state->updateColorsRealTime(); });
    connect(&m_state, &AppState::backgroundColorChanged, m_backgroundWell, &ColorWell::refresh);
    connect(&m_state, &AppState::textColorChanged, m_textWell, &ColorWell::refresh);

    m_state.subscribe(&AppState::useCustomColors, &AppState::useCustomColorsChanged, this,
                      [this](bool on) {
                          m_customColors->setChecked(on);
                          m_colorRows->setVisible(on);
                          const bool changed = m_shownCustomColors && *m_shownCustomColors != on;
                          m_shownCustomColors = on;
                          if (changed)
                              m_state.updateColorsRealTime();
                      });
}

QWidget *AppearanceTab::colorRow(const QString &label, ColorWell *well)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *text = new QLabel(label);
    text->setTextFormat(Qt::PlainText);
    text->setFixedWidth(colorLabelWidth);
    layout->addWidget(text);
    layout->addWidget(well);
    layout->addStretch(1);
    return row;
}

QString AppearanceTab::currentMarginsText() const
{
    return m_currentMargins->text();
}
