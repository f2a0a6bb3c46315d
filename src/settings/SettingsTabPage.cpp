// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SettingsTabPage.h"

#include "app/AppState.h"
#include "settings/SectionHeader.h"
#include "settings/SettingsStyle.h"

#include <QVBoxLayout>

SettingsTabPage::SettingsTabPage(AppState &state, QWidget *parent)
    : QScrollArea(parent)
    , m_state(state)
    , m_content(new QWidget)
    , m_sections(new QVBoxLayout(m_content))
{
    setFrameShape(QFrame::NoFrame);
    // Tab goes straight to the controls; the area scrolls to the one that takes the focus.
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setBackgroundRole(QPalette::Window);
    viewport()->setBackgroundRole(QPalette::Window);
    // In the window from the start, so the sections take its font and palette.
    setWidget(m_content);

    using SettingsStyle::inset;
    m_sections->setContentsMargins(inset, inset, inset, inset);
    m_sections->setSpacing(20);
}

QVBoxLayout *SettingsTabPage::addSection(const QString &title, const QString &subtitle)
{
    auto *section = new QVBoxLayout;
    section->setSpacing(12);
    section->addWidget(new SectionHeader(title, subtitle, m_content));
    m_sections->addLayout(section);
    return section;
}

QVBoxLayout *SettingsTabPage::addControlStack(QVBoxLayout *section)
{
    auto *stack = new QVBoxLayout;
    stack->setSpacing(8);
    section->addLayout(stack);
    return stack;
}

void SettingsTabPage::finishSections()
{
    // The space takes whatever the sections leave of the body; it asks for no room of its own,
    // so blank space alone never makes a tab scroll.
    m_sections->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));
}
