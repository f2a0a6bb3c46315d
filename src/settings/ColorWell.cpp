// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/ColorWell.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

ColorWell::ColorWell(Binding<QColor> color, QWidget *parent)
    : QAbstractButton(parent)
    , m_color(std::move(color))
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, &ColorWell::openDialog);
}

void ColorWell::refresh()
{
    updateAccessibleName();
    update();
}

void ColorWell::setTitle(const QString &title)
{
    m_title = title;
    updateAccessibleName();
}

void ColorWell::updateAccessibleName()
{
    setAccessibleName(m_title + QStringLiteral(": ") + describe(m_color.get()));
}

QString ColorWell::describe(const QColor &color)
{
    const QColor hsl = color.toHsl();
    const double lightness = hsl.lightnessF();
    QString name;
    if (hsl.hslSaturationF() < 0.15 || lightness < 0.08 || lightness > 0.95) {
        name = lightness < 0.1 ? tr("black")
            : lightness > 0.9  ? tr("white")
            : lightness < 0.4  ? tr("dark grey")
            : lightness > 0.7  ? tr("light grey")
                               : tr("grey");
    } else {
        const int hue = hsl.hslHue();
        name = hue < 15 || hue >= 345 ? tr("red")
            : hue < 45                ? tr("orange")
            : hue < 70                ? tr("yellow")
            : hue < 165               ? tr("green")
            : hue < 195               ? tr("cyan")
            : hue < 255               ? tr("blue")
            : hue < 290               ? tr("purple")
                                      : tr("pink");
        if (lightness < 0.3)
            name = tr("dark %1", "a colour: dark red").arg(name);
        else if (lightness > 0.75)
            name = tr("light %1", "a colour: light blue").arg(name);
    }
    QString text = name + QStringLiteral(" (") + color.name(QColor::HexRgb) + u')';
    if (color.alpha() < 255)
        text += tr(", %1% opaque").arg(qRound(color.alphaF() * 100));
    return text;
}

QSize ColorWell::sizeHint() const
{
    return {48, 24};
}

void ColorWell::openDialog()
{
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    // The alpha channel first: a colour set before it would lose its opacity.
    auto *dialog = new QColorDialog(this);
    dialog->setOption(QColorDialog::ShowAlphaChannel);
    dialog->setCurrentColor(m_color.get());
    dialog->setWindowTitle(m_title.isEmpty() ? tr("Choose Color") : m_title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QColorDialog::colorSelected, this, [this](const QColor &chosen) {
        if (!chosen.isValid())
            return;
        m_color.set(chosen);
        refresh();
        Q_EMIT colorChosen(chosen);
    });
    m_dialog = dialog;
    dialog->open();
}

void ColorWell::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    if (isDown())
        option.state |= QStyle::State_Sunken;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    // The swatch sits on a checkerboard so that a translucent colour shows as one.
    const QRect swatch = rect().adjusted(5, 5, -5, -5);
    const int cell = 4;
    painter.setPen(Qt::NoPen);
    for (int y = swatch.top(); y <= swatch.bottom(); y += cell) {
        for (int x = swatch.left(); x <= swatch.right(); x += cell) {
            const bool dark = ((x - swatch.left()) / cell + (y - swatch.top()) / cell) % 2;
            painter.fillRect(QRect(x, y, cell, cell).intersected(swatch),
                             dark ? QColor(0xc0, 0xc0, 0xc0) : Qt::white);
        }
    }
    painter.fillRect(swatch, m_color.get());
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
