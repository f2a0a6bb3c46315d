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
    update();
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
    dialog->setWindowTitle(accessibleName().isEmpty() ? QStringLiteral("Choose Color")
                                                      : accessibleName());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QColorDialog::colorSelected, this, [this](const QColor &chosen) {
        if (!chosen.isValid())
            return;
        m_color.set(chosen);
        update();
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
