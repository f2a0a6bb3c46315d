// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/Binding.h"

#include <QAbstractButton>

/// One tab selector of the settings window: its title on a rounded ground, tinted while its
/// tab is the selected one. Pressing it selects its tab.
class TabButton : public QAbstractButton
{
    Q_OBJECT

public:
    TabButton(const QString &title, int index, Binding<int> selectedTab, QWidget *parent = nullptr);

    bool isCurrent() const;
    /// Draws the button again after the selected tab changed, and tells assistive technology.
    void refresh();
    /// Takes the window's font again (medium weight) after it changed.
    void followFont();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static constexpr int horizontalPadding = 16;
    static constexpr int verticalPadding = 8;
    static constexpr qreal cornerRadius = 6;

    int m_index = 0;
    Binding<int> m_selectedTab;
};
