// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/SettingsTabPage.h"

class QLabel;
class QPushButton;

/// The second settings tab: the typing aids and the global hot key.
class BehaviorTab : public SettingsTabPage
{
    Q_OBJECT

public:
    explicit BehaviorTab(AppState &state, QWidget *parent = nullptr);

    QCheckBox *bulletsBox() const { return m_bullets; }
    QCheckBox *numbersBox() const { return m_numbers; }
    QCheckBox *dashesBox() const { return m_dashes; }
    QCheckBox *smartLinksBox() const { return m_smartLinks; }
    QString hotkeyText() const;
    QPushButton *changeButton() const { return m_change; }

private:
    QCheckBox *m_bullets = nullptr;
    QCheckBox *m_numbers = nullptr;
    QCheckBox *m_dashes = nullptr;
    QCheckBox *m_smartLinks = nullptr;
    QLabel *m_hotkey = nullptr;
    QPushButton *m_change = nullptr;
};
