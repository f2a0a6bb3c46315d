// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>

/// A key combination shown as a small badge: fixed-width text on a tinted, rounded ground.
class KeyBadge : public QLabel
{
    Q_OBJECT

public:
    explicit KeyBadge(const QString &keys, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
