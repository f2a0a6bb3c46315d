// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/DesktopNotifier.h"

#include "platform/AppInfo.h"
#include "platform/PlatformLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

DesktopNotifier::DesktopNotifier(QObject *parent)
    : DesktopNotifier(QDBusConnection::sessionBus(), parent)
{ }

DesktopNotifier::DesktopNotifier(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{ }

void DesktopNotifier::notify(const QString &title, const QString &message)
{
    if (!m_bus.isConnected()) {
        qCWarning(lcPlatform).noquote() << "no session bus for a desktop notification:" << title;
        QMetaObject::invokeMethod(
            this, [this] { Q_EMIT delivered(false); }, Qt::QueuedConnection);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout (-1: the
    // server's default).
    call << QStringLiteral("Jotshelf") << uint(0) << AppInfo::appId() << title << message
         << QStringList() << QVariantMap {{QStringLiteral("desktop-entry"), AppInfo::appId()}}
         << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, title] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError()) {
            qCWarning(lcPlatform).noquote()
                << "the desktop notification" << title << "was not shown:" << reply.error().name()
                << reply.error().message();
        }
        Q_EMIT delivered(!reply.isError());
    });
}
