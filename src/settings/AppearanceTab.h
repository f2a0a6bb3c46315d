// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/SettingsTabPage.h"

#include <optional>

class ColorWell;
class QLabel;
class SliderRow;

/// The first settings tab: the drawer's size, opacity, text margins and colours. Every control
/// writes the model at once and calls the operation that makes the open drawer follow.
class AppearanceTab : public SettingsTabPage
{
    Q_OBJECT

public:
    explicit AppearanceTab(AppState &state, QWidget *parent = nullptr);

    SliderRow *widthRow() const { return m_width; }
    SliderRow *heightRow() const { return m_height; }
    SliderRow *opacityRow() const { return m_opacity; }
    SliderRow *marginsRow() const { return m_margins; }
    QCheckBox *manualMarginsBox() const { return m_manualMargins; }
    QCheckBox *customColorsBox() const { return m_customColors; }
    /// The automatic margin read-out, shown while manual margins are off.
    QWidget *automaticMarginsPanel() const { return m_automaticPanel; }
    QString currentMarginsText() const;
    /// The two colour rows, shown while custom colours are on.
    QWidget *colorRows() const { return m_colorRows; }
    ColorWell *backgroundWell() const { return m_backgroundWell; }
    ColorWell *textColorWell() const { return m_textWell; }

private:
    void buildSizeSection();
    void buildTransparencySection();
    void buildMarginsSection();
    void buildColorsSection();
    QWidget *colorRow(const QString &label, ColorWell *well);

    SliderRow *m_width = nullptr;
    SliderRow *m_height = nullptr;
    SliderRow *m_opacity = nullptr;
    SliderRow *m_margins = nullptr;
    QCheckBox *m_manualMargins = nullptr;
    QWidget *m_automaticPanel = nullptr;
    QLabel *m_currentMargins = nullptr;
    QCheckBox *m_customColors = nullptr;
    QWidget *m_colorRows = nullptr;
    ColorWell *m_backgroundWell = nullptr;
    ColorWell *m_textWell = nullptr;

    // The switches as last shown: the drawer follows a switch only when it really changed.
    std::optional<bool> m_shownManualMargins;
    std::optional<bool> m_shownCustomColors;
};
