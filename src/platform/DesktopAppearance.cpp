// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/DesktopAppearance.h"

#include "platform/PortalRequest.h"
#include "platform/PortalSettingsEvents.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QStyleHints>

namespace {
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearance = QStringLiteral("org.freedesktop.appearance");
const QString colorScheme = QStringLiteral("color-scheme");
const QString gnome = QStringLiteral("org.gnome.desktop.interface");
const QString gnomeFont = QStringLiteral("font-name");
const QString kde = QStringLiteral("org.kde.kdeglobals.General");
const QString kdeFont = QStringLiteral("font");

// The portal's Read answers a variant in a variant.
QVariant unwrap(QVariant value)
{
    while (value.canConvert<QDBusVariant>()
           && value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}
} // namespace

DesktopAppearance::DesktopAppearance(QObject *parent)
    : QObject(parent)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, this,
            &DesktopAppearance::changed);
#endif
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    auto *events = new PortalSettingsEvents(bus, this);
    connect(events, &PortalSettingsEvents::SettingChanged, this,
            [this](const QString &group, const QString &key, const QDBusVariant &value) {
                take(group, key, unwrap(value.variant()));
            });
    read(appearance, colorScheme);
    read(gnome, gnomeFont);
    read(kde, kdeFont);
}

std::optional<bool> DesktopAppearance::prefersDark() const
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    switch (QGuiApplication::styleHints()->colorScheme()) {
    case Qt::ColorScheme::Dark:
        return true;
    case Qt::ColorScheme::Light:
        return false;
    default:
        break;
    }
#endif
    return m_portalDark;
}

std::optional<double> DesktopAppearance::pointSizeIn(const QString &font)
{
    bool ok = false;
    double size = 0;
    if (font.contains(QLatin1Char(',')))
        size = font.section(QLatin1Char(','), 1, 1).toDouble(&ok);
    else
        size = font.section(QLatin1Char(' '), -1).toDouble(&ok);
    if (!ok || !(size >= 4 && size <= 72))
        return std::nullopt;
    return size;
}

void DesktopAppearance::read(const QString &group, const QString &key)
{
    QDBusMessage call
        = QDBusMessage::createMethodCall(PortalRequest::service(), PortalRequest::desktopPath(),
                                         settingsInterface, QStringLiteral("Read"));
    call << group << key;
    auto *watcher
        = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, group, key] {
        watcher->deleteLater();
        const QDBusPendingReply<QVariant> reply = *watcher;
        // No portal, or a key this desktop does not have: nothing is known.
        if (!reply.isError())
            take(group, key, unwrap(reply.value()));
    });
}

void DesktopAppearance::take(const QString &group, const QString &key, const QVariant &value)
{
    if (group == appearance && key == colorScheme) {
        const uint scheme = value.toUInt();
        m_portalDark = scheme == 1 ? std::optional<bool>(true)
            : scheme == 2          ? std::optional<bool>(false)
                                   : std::nullopt;
    } else if ((group == gnome && key == gnomeFont) || (group == kde && key == kdeFont)) {
        if (const auto size = pointSizeIn(value.toString()))
            m_fontSize = size;
        else
            return;
    } else {
        return;
    }
    Q_EMIT changed();
}
