// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/GradientBackgroundView.h"

#include "editor/GradientLayer.h"

#include <QPalette>

GradientBackgroundView::GradientBackgroundView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Made at zero size; the first layout pass at the real size rebuilds everything.
    setGeometry(0, 0, 0, 0);
    updateLayer();
}

QColor GradientBackgroundView::materialColor()
{
    return QColor::fromRgbF(0.11f, 0.11f, 0.12f, 0.95f);
}

void GradientBackgroundView::updateLayer()
{
    const QRect bounds = rect();

    auto *material = new QWidget;
    material->setObjectName(QStringLiteral("material"));
    material->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette palette = material->palette();
    palette.setColor(QPalette::Window, materialColor());
    material->setPalette(palette);
    material->setAutoFillBackground(true);
    material->setGeometry(bounds);

    auto *gradient = new GradientLayer;
    gradient->setGeometry(bounds);

    // Every child goes, also one added from outside; the widgets are deleted once control
    // is back in the event loop, out of any event handler of theirs.
    const QObjectList current = children();
    for (QObject *child : current) {
        if (auto *widget = qobject_cast<QWidget *>(child)) {
            widget->hide();
            widget->setParent(nullptr);
            widget->deleteLater();
        }
    }

    material->setParent(this);
    gradient->setParent(this);
    material->show();
    gradient->show();
}

void GradientBackgroundView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateLayer();
}
