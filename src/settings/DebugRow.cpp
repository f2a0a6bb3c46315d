// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/DebugRow.h"

#include "settings/SettingsStyle.h"

#include <QHBoxLayout>
#include <QLabel>

DebugRow::DebugRow(const QString &label, const QString &value, QWidget *parent)
    : QWidget(parent)
    , m_label(label)
    , m_labelText(new QLabel(label + QLatin1Char(':'), this))
    , m_valueText(new QLabel(value, this))
{
    SettingsStyle::useSecondaryText(m_labelText);
    for (QLabel *text : {m_labelText, m_valueText})
        text->setTextFormat(Qt::PlainText);
    m_valueText->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_labelText);
    layout->addStretch(1);
    layout->addWidget(m_valueText);
}

QString DebugRow::value() const
{
    return m_valueText->text();
}

void DebugRow::setValue(const QString &value)
{
    m_valueText->setText(value);
}
