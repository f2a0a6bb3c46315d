// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PortalShortcutEvents.h"

// No service name, as for the portal's requests: matching by path and interface needs no
// blocking name-owner lookup.
PortalShortcutEvents::PortalShortcutEvents(const QDBusConnection &bus, QObject *parent)
    : QDBusAbstractInterface(QString(), QStringLiteral("/org/freedesktop/portal/desktop"),
                             "org.freedesktop.portal.GlobalShortcuts", bus, parent)
{ }
