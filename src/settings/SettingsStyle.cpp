// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SettingsStyle.h"

#include "app/ColorContrast.h"

#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

#include <algorithm>

namespace SettingsStyle {

namespace {
// The style shades a button's fill a little lighter at its top than the colour it is given.
constexpr double accentAllowance = 0.5;
// Captions are small: their antialiased strokes come out lighter than their colour.
constexpr double smallTextAllowance = 0.5;
} // namespace

QPalette readablePalette(const QPalette &base, bool highContrast)
{
    const double minimum
        = highContrast ? ColorContrast::highContrastText : ColorContrast::normalText;
    QPalette palette = base;
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        const QColor window = base.color(group, QPalette::Window);
        const QColor text = base.color(group, QPalette::WindowText);
        const QColor secondary = highContrast ? text : base.color(group, QPalette::PlaceholderText);
        palette.setColor(group, QPalette::PlaceholderText,
                         ColorContrast::readable(secondary, window, minimum + smallTextAllowance));
        palette.setColor(group, QPalette::WindowText,
                         ColorContrast::readable(text, window, minimum));
        // The accent is the ground of "Done"'s label and of selected text: it moves away from
        // the label's colour until the label reads on it.
        const QColor label = base.color(group, QPalette::HighlightedText);
        palette.setColor(group, QPalette::Highlight,
                         ColorContrast::readable(base.color(group, QPalette::Highlight), label,
                                                 minimum + accentAllowance));
    }
    return palette;
}

QColor secondaryText(const QPalette &palette)
{
    return palette.color(QPalette::PlaceholderText);
}

QColor destructiveText(const QPalette &palette, bool highContrast)
{
    return ColorContrast::destructive(palette.color(QPalette::Button),
                                      highContrast ? ColorContrast::highContrastText
                                                   : ColorContrast::normalText);
}

QPalette darkPalette()
{
    const QColor window(0x2d, 0x2d, 0x2d);
    const QColor text(0xee, 0xee, 0xee);
    const QColor button(0x3c, 0x3c, 0x3c);
    QPalette palette(button, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    palette.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Light, QColor(0x55, 0x55, 0x55));
    palette.setColor(QPalette::Midlight, QColor(0x48, 0x48, 0x48));
    palette.setColor(QPalette::Mid, QColor(0x5a, 0x5a, 0x5a));
    palette.setColor(QPalette::Dark, QColor(0x1a, 0x1a, 0x1a));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x78, 0xae, 0xed));
    palette.setColor(QPalette::PlaceholderText, QColor(0xee, 0xee, 0xee, 0x80));
    const QColor disabled(0x80, 0x80, 0x80);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x50, 0x50, 0x50));
    return palette;
}

bool isLight(const QPalette &palette)
{
    return ColorContrast::luminance(palette.color(QPalette::Window))
        > ColorContrast::luminance(palette.color(QPalette::WindowText));
}

void useSecondaryText(QLabel *label)
{
    label->setForegroundRole(QPalette::PlaceholderText);
}

void makeProminent(QPushButton *button, double minimum)
{
    const QWidget *owner = button->parentWidget() ? button->parentWidget() : button;
    const QPalette &source = owner->palette();
    const QColor label = source.color(QPalette::Active, QPalette::HighlightedText);
    QColor accent = source.color(QPalette::Active, QPalette::Highlight);
    const QColor away
        = ColorContrast::ratio(Qt::black, label) >= ColorContrast::ratio(Qt::white, label)
        ? QColor(Qt::black)
        : QColor(Qt::white);
    // The style draws a button's fill lighter and paler than the colour it is given (Fusion:
    // 20 % brighter, a quarter less saturated, a default button brighter still): the fill is
    // measured where the label stands, and the accent moved away from the label until the fill
    // reaches the contrast asked for.
    for (int step = 0; step <= 10; ++step) {
        QPalette palette = button->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::Button, accent);
            palette.setColor(group, QPalette::ButtonText, label);
        }
        button->setPalette(palette);
        const QImage drawn = button->grab().toImage();
        if (drawn.isNull())
            return;
        // The fill beside the label, from a quarter to three quarters of the height: its
        // colour nearest the label's counts.
        double worst = 21;
        for (int y = drawn.height() / 4; y < drawn.height() * 3 / 4; ++y)
            worst = std::min(worst,
                             ColorContrast::ratio(drawn.pixelColor(drawn.width() / 8, y), label));
        if (worst >= minimum)
            return;
        accent = QColor::fromRgbF(float(accent.redF() + (away.redF() - accent.redF()) * 0.15),
                                  float(accent.greenF() + (away.greenF() - accent.greenF()) * 0.15),
                                  float(accent.blueF() + (away.blueF() - accent.blueF()) * 0.15));
    }
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace SettingsStyle
