// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PortalSettingsEvents.h"

// No service name: matching by path and interface needs no blocking name-owner lookup.
PortalSettingsEvents::PortalSettingsEvents(const QDBusConnection &bus, QObject *parent)
    : QDBusAbstractInterface(QString(), QStringLiteral("/org/freedesktop/portal/desktop"),
                             "org.freedesktop.portal.Settings", bus, parent)
{ }
