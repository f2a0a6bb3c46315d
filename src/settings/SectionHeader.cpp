// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SectionHeader.h"

#include "drawer/AccessibleRoles.h"
#include "settings/SettingsStyle.h"

#include <QAccessible>
#include <QLabel>
#include <QVBoxLayout>

SectionHeader::SectionHeader(const QString &title, const QString &subtitle, QWidget *parent)
    : QWidget(parent)
{
    auto *heading = new QLabel(this);
    auto *caption = new QLabel(subtitle, this);
    // The role before the text: assistive technology reads the label as it is first told of it.
    AccessibleRoles::setRole(heading, QAccessible::Heading);
    heading->setText(title);
    heading->setFont(SettingsStyle::headline(font()));
    caption->setFont(SettingsStyle::caption(font()));
    SettingsStyle::useSecondaryText(caption);
    for (QLabel *label : {heading, caption})
        label->setTextFormat(Qt::PlainText);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(heading);
    layout->addWidget(caption);
}
