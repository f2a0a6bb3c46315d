// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLinearGradient>
#include <QWidget>

/// The dark diagonal gradient of the drawer's background: black at alpha 0.7 in the top-left
/// corner, 0.5 in the middle and 0.3 in the bottom-right corner.
class GradientLayer : public QWidget
{
    Q_OBJECT

public:
    explicit GradientLayer(QWidget *parent = nullptr);

    /// The gradient that fills \a bounds.
    static QLinearGradient gradientFor(const QRectF &bounds);

protected:
    void paintEvent(QPaintEvent *event) override;
};
