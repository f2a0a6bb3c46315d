// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusAbstractInterface>
#include <QDBusObjectPath>
#include <QVariantMap>

/**
 * The signals of the desktop portal's org.freedesktop.portal.GlobalShortcuts interface.
 * Connecting to activated() subscribes to it on the bus.
 */
class PortalShortcutEvents : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    explicit PortalShortcutEvents(const QDBusConnection &bus, QObject *parent = nullptr);

Q_SIGNALS:
    // Named as on the bus: QtDBus relays a D-Bus signal to the Qt signal of the same name.
    /// A shortcut of \a session was pressed.
    void Activated(const QDBusObjectPath &session, const QString &shortcutId, qulonglong timestamp,
                   const QVariantMap &options);
};
