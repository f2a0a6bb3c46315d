#include "settings/SettingsStyle.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace SettingsStyle {

namespace {

QFont scaled(QFont font, double factor)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else if (font.pixelSize() > 0)
        font.setPixelSize(qRound(font.pixelSize() * factor));
    return font;
}

// Body text is 13 points in the design; titles are 17 and captions 10.
constexpr double title2Factor = 17.0 / 13.0;
constexpr double captionFactor = 0.85;

} // namespace

QFont title2(const QFont &base)
{
    QFont font = scaled(base, title2Factor);
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont headline(const QFont &base)
{
    QFont font = base;
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont caption(const QFont &base)
{
    return scaled(base, captionFactor);
}

QFont monospacedCaption(const QFont &base)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFont size = caption(base);
    if (size.pointSizeF() > 0)
        font.setPointSizeF(size.pointSizeF());
    else if (size.pixelSize() > 0)
        font.setPixelSize(size.pixelSize());
    return font;
}

QColor secondaryText(const QPalette &palette)
{
    return palette.color(QPalette::PlaceholderText);
}

QColor destructiveText()
{
    return QColor(0xe0, 0x2f, 0x26);
}

void useSecondaryText(QLabel *label)
{
    label->setForegroundRole(QPalette::PlaceholderText);
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace SettingsStyle
