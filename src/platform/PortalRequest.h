// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusAbstractInterface>
#include <QVariantMap>

/**
 * One pending call of the desktop portal: the org.freedesktop.portal.Request object whose
 * Response signal carries the call's answer. Connecting to response() subscribes to the
 * signal on the bus, so a caller connects before it sends the call the request belongs to.
 */
class PortalRequest : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    PortalRequest(const QString &path, const QDBusConnection &bus, QObject *parent = nullptr);

    /// The desktop portal's bus name and the object its interfaces live on.
    static QString service() { return QStringLiteral("org.freedesktop.portal.Desktop"); }
    static QString desktopPath() { return QStringLiteral("/org/freedesktop/portal/desktop"); }

    /// The path the portal gives the request made with \a token on \a bus.
    static QString predictedPath(const QDBusConnection &bus, const QString &token);
    /// The path the portal gives the session made with \a token on \a bus.
    static QString predictedSessionPath(const QDBusConnection &bus, const QString &token);

Q_SIGNALS:
    // Named as on the bus: QtDBus relays a D-Bus signal to the Qt signal of the same name.
    /// 0 success, 1 cancelled by the user, 2 ended otherwise.
    void Response(uint response, const QVariantMap &results);
};
