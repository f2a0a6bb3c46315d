// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QWidget>

/// The back layer of the drawer: a translucent dark material with a dark diagonal gradient
/// above it. Each layout pass builds both anew at the current size and drops every other
/// child, so the background always matches its bounds and never gathers children. Its look
/// depends on no setting.
class GradientBackgroundView : public QWidget
{
    Q_OBJECT

public:
    explicit GradientBackgroundView(QWidget *parent = nullptr);

    /// The material's tone: a dark grey at alpha 0.95.
    static QColor materialColor();

    /// Rebuilds the material and the gradient for the current bounds.
    void updateLayer();

protected:
    void resizeEvent(QResizeEvent *event) override;
};
