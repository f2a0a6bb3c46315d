// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/KeyBadge.h"

#include "platform/HotkeyKeys.h"
#include "settings/SettingsStyle.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int horizontalPadding = 8;
constexpr int verticalPadding = 2;
constexpr qreal cornerRadius = 4;

/// The modifiers and the key of \a keys apart, as the user reads them.
QString badgeText(QKeyCombination keys)
{
    const QString key = HotkeyKeys::displayName(QKeyCombination(keys.key()));
    QStringList parts
        = HotkeyKeys::displayName(keys).chopped(key.size()).split(u'+', Qt::SkipEmptyParts);
    parts << key;
    return parts.join(QStringLiteral(" + "));
}
} // namespace

KeyBadge::KeyBadge(QKeyCombination keys, QWidget *parent)
    : QLabel(badgeText(keys), parent)
{
    setTextFormat(Qt::PlainText);
    setFont(SettingsStyle::monospacedCaption(font()));
    setContentsMargins(horizontalPadding, verticalPadding, horizontalPadding, verticalPadding);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void KeyBadge::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor ground = SettingsStyle::secondaryText(palette());
        ground.setAlphaF(0.1f);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
        painter.fillPath(path, ground);
    }
    QLabel::paintEvent(event);
}
