// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PortalShortcutEvents.h"

#include "platform/PortalRequest.h"

// No service name, as for the portal's requests: matching by path and interface needs no
// blocking name-owner lookup.
PortalShortcutEvents::PortalShortcutEvents(const QDBusConnection &bus, QObject *parent)
    : QDBusAbstractInterface(QString(), PortalRequest::desktopPath(),
                             "org.freedesktop.portal.GlobalShortcuts", bus, parent)
{
    // QtDBus relays a signal only when it finds each of its parameter types by name, and a
    // type is known by name once registered: QDBusObjectPath is not until its first use (the
    // first reply that carries one). Before it, connecting to Activated silently subscribes to
    // nothing, and no press arrives.
    qRegisterMetaType<QDBusObjectPath>();
}
