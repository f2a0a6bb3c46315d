// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PortalRequest.h"

namespace {
/// The caller's unique bus name as the portal writes it into object paths: ":1.42" → "1_42".
QString senderElement(const QDBusConnection &bus)
{
    QString sender = bus.baseService();
    if (sender.startsWith(u':'))
        sender.remove(0, 1);
    return sender.replace(u'.', u'_');
}
} // namespace

// No service name: the signal is matched by path and interface alone, which spares the
// blocking name-owner lookup a well-known name would cost on the event loop.
PortalRequest::PortalRequest(const QString &path, const QDBusConnection &bus, QObject *parent)
    : QDBusAbstractInterface(QString(), path, "org.freedesktop.portal.Request", bus, parent)
{ }

QString PortalRequest::predictedPath(const QDBusConnection &bus, const QString &token)
{
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
        .arg(senderElement(bus), token);
}

QString PortalRequest::predictedSessionPath(const QDBusConnection &bus, const QString &token)
{
    return QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
        .arg(senderElement(bus), token);
}
