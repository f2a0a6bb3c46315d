// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/TabButton.h"

#include "settings/SettingsStyle.h"

#include <QPainter>
#include <QPainterPath>

TabButton::TabButton(const QString &title, int index, Binding<int> selectedTab, QWidget *parent)
    : QAbstractButton(parent)
    , m_index(index)
    , m_selectedTab(std::move(selectedTab))
{
    setText(title);
    QFont medium = font();
    medium.setWeight(QFont::Medium);
    setFont(medium);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, [this] { m_selectedTab.set(m_index); });
}

bool TabButton::isCurrent() const
{
    return m_selectedTab.get() == m_index;
}

void TabButton::refresh()
{
    update();
}

QSize TabButton::sizeHint() const
{
    const QSize text = fontMetrics().size(Qt::TextSingleLine, this->text());
    return {text.width() + 2 * horizontalPadding, text.height() + 2 * verticalPadding};
}

void TabButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool current = isCurrent();
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (current) {
        QColor ground = palette().color(QPalette::Highlight);
        ground.setAlphaF(0.1f);
        QPainterPath path;
        path.addRoundedRect(area, cornerRadius, cornerRadius);
        painter.fillPath(path, ground);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
        painter.drawRoundedRect(area, cornerRadius, cornerRadius);
    }
    painter.setPen(current ? palette().color(QPalette::WindowText)
                           : SettingsStyle::secondaryText(palette()));
    painter.drawText(rect(), Qt::AlignCenter, text());
}
