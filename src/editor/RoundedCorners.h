// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

/// Rounds the corners of whatever lies below it in a window with a clear background: it
/// erases, with antialiasing, everything outside a rounded rectangle of its own size. Mouse
/// events pass through it.
class RoundedCorners : public QWidget
{
    Q_OBJECT

public:
    explicit RoundedCorners(qreal radius, QWidget *parent = nullptr);

    qreal radius() const { return m_radius; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_radius = 0;
};
