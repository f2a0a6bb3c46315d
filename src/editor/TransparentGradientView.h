// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class GradientBackgroundView;

/// Places the drawer's background: one GradientBackgroundView, made at zero size and then
/// filling this view at whatever size it is given.
class TransparentGradientView : public QWidget
{
    Q_OBJECT

public:
    explicit TransparentGradientView(QWidget *parent = nullptr);

    GradientBackgroundView *background() const { return m_background; }

private:
    GradientBackgroundView *m_background = nullptr;
};
