// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/CloseButton.h"

#include "settings/SettingsStyle.h"

#include <QIcon>
#include <QPainter>

CloseButton::CloseButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(extent, extent);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

QSize CloseButton::sizeHint() const
{
    return {extent, extent};
}

void CloseButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    update();
}

void CloseButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    update();
}

void CloseButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool active = underMouse() || isDown();
    const QColor color
        = active ? palette().color(QPalette::WindowText) : SettingsStyle::secondaryText(palette());
    const QRectF area(rect());

    // Drawn on a layer of its own, so that the cross can be cut out of the disc.
    QPixmap layer(size() * devicePixelRatioF());
    layer.setDevicePixelRatio(devicePixelRatioF());
    layer.fill(Qt::transparent);
    {
        QPainter image(&layer);
        image.setRenderHint(QPainter::Antialiasing);
        const QIcon themed = QIcon::fromTheme(QStringLiteral("window-close"));
        if (!themed.isNull()) {
            themed.paint(&image, rect());
            image.setCompositionMode(QPainter::CompositionMode_SourceIn);
            image.fillRect(area, color);
        } else {
            image.setPen(Qt::NoPen);
            image.setBrush(color);
            image.drawEllipse(area.adjusted(1, 1, -1, -1));
            image.setCompositionMode(QPainter::CompositionMode_Clear);
            image.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
            const qreal a = extent * 0.34;
            const qreal b = extent - a;
            image.drawLine(QPointF(a, a), QPointF(b, b));
            image.drawLine(QPointF(a, b), QPointF(b, a));
        }
    }
    painter.drawPixmap(0, 0, layer);

    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(area.adjusted(0.75, 0.75, -0.75, -0.75));
    }
}
