// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/RoundedCorners.h"

#include <QPainter>
#include <QPainterPath>

RoundedCorners::RoundedCorners(qreal radius, QWidget *parent)
    : QWidget(parent)
    , m_radius(radius)
{
    setObjectName(QStringLiteral("roundedCorners"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void RoundedCorners::paintEvent(QPaintEvent *)
{
    // Erasing only shows through a clear window background; an opaque one would turn black.
    if (!window()->testAttribute(Qt::WA_TranslucentBackground))
        return;
    QPainterPath outside;
    outside.setFillRule(Qt::OddEvenFill);
    outside.addRect(rect());
    outside.addRoundedRect(QRectF(rect()), m_radius, m_radius);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    painter.fillPath(outside, Qt::black);
}
