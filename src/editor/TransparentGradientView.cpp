// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/TransparentGradientView.h"

#include "editor/GradientBackgroundView.h"

#include <QVBoxLayout>

TransparentGradientView::TransparentGradientView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_background = new GradientBackgroundView(this);
    layout->addWidget(m_background);
}
