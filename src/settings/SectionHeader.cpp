// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SectionHeader.h"

#include "settings/SettingsStyle.h"

#include <QLabel>
#include <QVBoxLayout>

SectionHeader::SectionHeader(const QString &title, const QString &subtitle, QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(title, this))
    , m_subtitle(new QLabel(subtitle, this))
{
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
