// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/SettingsTabPage.h"
#include "text/GraphemeCounter.h"

class DebugRow;
class QPushButton;

/// The third settings tab: display switches, a live read-out of the model and the commands
/// that export the note and clear all data.
class AdvancedTab : public SettingsTabPage
{
    Q_OBJECT

public:
    explicit AdvancedTab(AppState &state, QWidget *parent = nullptr);

    QCheckBox *hideScrollIndicatorsBox() const { return m_hideScrollIndicators; }
    QCheckBox *reduceMotionBox() const { return m_reduceMotion; }
    QCheckBox *highContrastBox() const { return m_highContrast; }
    DebugRow *windowSizeRow() const { return m_windowSize; }
    DebugRow *opacityRow() const { return m_opacity; }
    DebugRow *marginsRow() const { return m_margins; }
    DebugRow *positionRow() const { return m_position; }
    DebugRow *textLengthRow() const { return m_textLength; }
    QPushButton *exportButton() const { return m_export; }
    QPushButton *clearButton() const { return m_clear; }

private:
    void buildReadOut();
    void showWindowSize();
    void showTextLength();

    QCheckBox *m_hideScrollIndicators = nullptr;
    QCheckBox *m_reduceMotion = nullptr;
    QCheckBox *m_highContrast = nullptr;
    DebugRow *m_windowSize = nullptr;
    DebugRow *m_opacity = nullptr;
    DebugRow *m_margins = nullptr;
    DebugRow *m_position = nullptr;
    DebugRow *m_textLength = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_clear = nullptr;
    GraphemeCounter m_noteLength;
};
