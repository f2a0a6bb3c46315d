// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/GradientLayer.h"

#include <QPainter>

GradientLayer::GradientLayer(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("gradient"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QLinearGradient GradientLayer::gradientFor(const QRectF &bounds)
{
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomRight());
    gradient.setColorAt(0.0, QColor::fromRgbF(0, 0, 0, 0.7f));
    gradient.setColorAt(0.5, QColor::fromRgbF(0, 0, 0, 0.5f));
    gradient.setColorAt(1.0, QColor::fromRgbF(0, 0, 0, 0.3f));
    return gradient;
}

void GradientLayer::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), gradientFor(rect()));
}
