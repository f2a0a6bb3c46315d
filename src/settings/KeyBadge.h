// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QKeyCombination>
#include <QLabel>

/// A key combination shown as a small badge, "Alt + `": fixed-width text on a tinted, rounded
/// ground.
class KeyBadge : public QLabel
{
    Q_OBJECT

public:
    explicit KeyBadge(QKeyCombination keys, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
