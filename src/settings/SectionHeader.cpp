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
    , m_title(new QLabel(this))
    , m_subtitle(new QLabel(subtitle, this))
{
    // The role before the text: assistive technology reads the label as it is first told of it.
    AccessibleRoles::setRole(m_title, QAccessible::Heading);
    m_title->setText(title);
    m_title->setFont(SettingsStyle::headline(font()));
    m_subtitle->setFont(SettingsStyle::caption(font()));
    SettingsStyle::useSecondaryText(m_subtitle);
    for (QLabel *label : {m_title, m_subtitle})
        label->setTextFormat(Qt::PlainText);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_title);
    layout->addWidget(m_subtitle);
}

QString SectionHeader::title() const
{
    return m_title->text();
}

QString SectionHeader::subtitle() const
{
    return m_subtitle->text();
}
