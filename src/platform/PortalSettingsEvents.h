// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusAbstractInterface>
#include <QDBusVariant>

/**
 * The signal of the desktop portal's org.freedesktop.portal.Settings interface. Connecting to
 * SettingChanged() subscribes to it on the bus.
 */
class PortalSettingsEvents : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    explicit PortalSettingsEvents(const QDBusConnection &bus, QObject *parent = nullptr);

Q_SIGNALS:
    // Named as on the bus: QtDBus relays a D-Bus signal to the Qt signal of the same name.
    /// The desktop's setting \a key of \a group is now \a value.
    void SettingChanged(const QString &group, const QString &key, const QDBusVariant &value);
};
