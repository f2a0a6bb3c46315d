// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/PortalHotkeyBackend.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QThread>

#include <optional>

namespace StandIns {

inline const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
inline const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

inline QString senderElement(const QString &sender)
{
    return sender.mid(1).replace(u'.', u'_');
}

/// A stand-in for the desktop portal's GlobalShortcuts on the test's bus: it records every call
/// with its arguments and answers through Response signals on the request paths, as the portal
/// does.
class StandInPortal : public QDBusVirtualObject
{
public:
    struct Call
    {
        QString interface;
        QString member;
        QString path;
        QVariantList arguments;
    };

    explicit StandInPortal(const QDBusConnection &bus)
        : m_bus(bus)
    { }

    /// Registers the portal's name and objects; false when the name is taken.
    bool publish()
    {
        return m_bus.registerVirtualObject(portalPath, this, QDBusConnection::SubPath)
            && m_bus.registerService(portalService);
    }

    // How the stand-in answers.
    bool offersShortcuts = true;
    /// As KDE's portal 5.27: takes the shortcuts from CreateSession's options, binds them at
    /// once and lists them in its answer.
    bool takesShortcutsAtCreation = false;
    bool answers = true;
    /// Sends each Response before the reply that names its request.
    bool respondsBeforeReply = false;
    uint createResponse = 0;
    uint bindResponse = 0;
    /// The shortcuts BindShortcuts says it bound; by default the one asked for, with a trigger.
    std::optional<QList<PortalShortcut>> boundShortcuts;

    QList<Call> calls;
    QString sessionPath;

    QStringList members() const
    {
        QStringList names;
        for (const Call &call : calls)
            names << call.member;
        return names;
    }

    const Call *find(const QString &member) const
    {
        for (const Call &call : calls) {
            if (call.member == member)
                return &call;
        }
        return nullptr;
    }

    void activate(const QString &shortcutId, const QString &session)
    {
        QDBusMessage signal = QDBusMessage::createSignal(portalPath, shortcutsInterface,
                                                         QStringLiteral("Activated"));
        signal << QVariant::fromValue(QDBusObjectPath(session)) << shortcutId << qulonglong(123456)
               << QVariantMap();
        m_bus.send(signal);
    }

    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &) override
    {
        Q_ASSERT(QThread::currentThread() == thread());
        calls.append({message.interface(), message.member(), message.path(), message.arguments()});
        const QString sender = senderElement(message.service());
        if (message.path() != portalPath || message.interface() != shortcutsInterface) {
            // Session.Close and Request.Close: nothing to answer.
            m_bus.send(message.createReply());
            return true;
        }
        if (!offersShortcuts) {
            m_bus.send(message.createErrorReply(
                QDBusError::UnknownInterface,
                QStringLiteral("No such interface “%1”").arg(shortcutsInterface)));
            return true;
        }
        if (message.member() == u"CreateSession") {
            const auto options = qdbus_cast<QVariantMap>(message.arguments().value(0));
            sessionPath = portalPath
                + QStringLiteral("/session/%1/%2")
                      .arg(sender,
                           options.value(QStringLiteral("session_handle_token")).toString());
            QVariantMap results {{QStringLiteral("session_handle"), sessionPath}};
            if (takesShortcutsAtCreation)
                results.insert(
                    QStringLiteral("shortcuts"),
                    QVariant::fromValue(bind(options.value(QStringLiteral("shortcuts")))));
            answer(message, options, createResponse, results);
            return true;
        }
        if (message.member() == u"BindShortcuts") {
            const auto options = qdbus_cast<QVariantMap>(message.arguments().value(3));
            answer(message, options, bindResponse,
                   {{QStringLiteral("shortcuts"),
                     QVariant::fromValue(bind(message.arguments().value(1)))}});
            return true;
        }
        m_bus.send(message.createErrorReply(QDBusError::UnknownMethod, message.member()));
        return true;
    }

private:
    QList<PortalShortcut> bind(const QVariant &asked) const
    {
        if (boundShortcuts)
            return *boundShortcuts;
        QList<PortalShortcut> bound;
        for (PortalShortcut shortcut : qdbus_cast<QList<PortalShortcut>>(asked)) {
            shortcut.properties
                = {{QStringLiteral("description"),
                    shortcut.properties.value(QStringLiteral("description"))},
                   {QStringLiteral("trigger_description"), QStringLiteral("Alt+`")}};
            bound << shortcut;
        }
        return bound;
    }

    void answer(const QDBusMessage &message, const QVariantMap &options, uint response,
                const QVariantMap &results)
    {
        const QString request = portalPath
            + QStringLiteral("/request/%1/%2")
                  .arg(senderElement(message.service()),
                       options.value(QStringLiteral("handle_token")).toString());
        QDBusMessage signal = QDBusMessage::createSignal(
            request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        signal << response << results;
        if (answers && respondsBeforeReply)
            m_bus.send(signal);
        m_bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        if (answers && !respondsBeforeReply)
            m_bus.send(signal);
    }

    QDBusConnection m_bus;
};

/// A stand-in for KDE's kglobalaccel: says which action holds a key.
class StandInKGlobalAccel : public QDBusVirtualObject
{
public:
    explicit StandInKGlobalAccel(const QDBusConnection &bus)
        : m_bus(bus)
    { }

    bool publish()
    {
        return m_bus.registerVirtualObject(QStringLiteral("/kglobalaccel"), this)
            && m_bus.registerService(QStringLiteral("org.kde.kglobalaccel"));
    }

    /// The action holding every key asked about; empty for none.
    QStringList holder;
    QList<int> askedKeys;

    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &) override
    {
        if (message.member() != u"action") {
            m_bus.send(message.createErrorReply(QDBusError::UnknownMethod, message.member()));
            return true;
        }
        askedKeys << message.arguments().value(0).toInt();
        m_bus.send(message.createReply(holder));
        return true;
    }

private:
    QDBusConnection m_bus;
};

} // namespace StandIns

using StandIns::StandInKGlobalAccel;
using StandIns::StandInPortal;
