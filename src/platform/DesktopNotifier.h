// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

/**
 * Shows a desktop notification through the notification server of the session bus
 * (org.freedesktop.Notifications), for desktops that show no tray icon to carry a message.
 * Sending never waits on the bus; the server's answer arrives as delivered().
 */
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    /// Works on the session bus.
    explicit DesktopNotifier(QObject *parent = nullptr);
    explicit DesktopNotifier(const QDBusConnection &bus, QObject *parent = nullptr);

    /// Sends a notification from "Jotshelf" with the application's icon.
    void notify(const QString &title, const QString &message);

Q_SIGNALS:
    /// The server answered the notification with \a ok: true when it took it.
    void delivered(bool ok);

private:
    QDBusConnection m_bus;
};
