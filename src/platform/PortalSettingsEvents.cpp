// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PortalSettingsEvents.h"

#include "platform/PortalRequest.h"

// No service name: matching by path and interface needs no blocking name-owner lookup.
PortalSettingsEvents::PortalSettingsEvents(const QDBusConnection &bus, QObject *parent)
    : QDBusAbstractInterface(QString(), PortalRequest::desktopPath(),
                             "org.freedesktop.portal.Settings", bus, parent)
{ }
