// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SettingsStyle.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

namespace SettingsStyle {

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

void makeProminent(QPushButton *button)
{
    const QWidget *owner = button->parentWidget() ? button->parentWidget() : button;
    const QPalette &source = owner->palette();
    QPalette palette = button->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Button, source.color(group, QPalette::Highlight));
        palette.setColor(group, QPalette::ButtonText,
                         source.color(group, QPalette::HighlightedText));
    }
    button->setPalette(palette);
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace SettingsStyle
