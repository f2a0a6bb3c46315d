// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PortalHotkeyBackend.h"

#include "platform/AppInfo.h"
#include "platform/HotkeyKeys.h"
#include "platform/PlatformLog.h"
#include "platform/PortalRequest.h"
#include "platform/PortalShortcutEvents.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QKeySequence>
#include <QRandomGenerator>

#include <algorithm>
#include <limits>

namespace {
const QString portalService = PortalRequest::service();
const QString portalPath = PortalRequest::desktopPath();
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

QDBusMessage portalCall(const QString &method)
{
    return QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
}

/// The session handle of CreateSession's answer: documented as a string, sent as an object path
/// by some portals.
QString sessionHandle(const QVariantMap &results)
{
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    if (handle.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return handle.value<QDBusObjectPath>().path();
    return handle.toString();
}

std::optional<PortalShortcut> listedShortcut(const QVariantMap &results, const QString &id)
{
    const auto found = results.constFind(QStringLiteral("shortcuts"));
    if (found == results.constEnd())
        return std::nullopt;
    for (const PortalShortcut &shortcut : qdbus_cast<QList<PortalShortcut>>(*found)) {
        if (shortcut.id == id)
            return shortcut;
    }
    return std::nullopt;
}

/// The key as KDE's portal describes it: QKeySequence's text, in either of its notations.
bool describesKey(const QString &trigger, QKeyCombination key)
{
    const QKeySequence sequence(key);
    return trigger == sequence.toString(QKeySequence::NativeText)
        || trigger == sequence.toString(QKeySequence::PortableText);
}
} // namespace

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

PortalHotkeyBackend::PortalHotkeyBackend(QObject *parent)
    : PortalHotkeyBackend(QDBusConnection::sessionBus(), parent)
{ }

PortalHotkeyBackend::PortalHotkeyBackend(const QDBusConnection &bus, QObject *parent)
    : HotkeyBackend(parent)
    , m_bus(bus)
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    m_answerTimer.setSingleShot(true);
    connect(&m_answerTimer, &QTimer::timeout, this, [this] {
        qCWarning(lcPlatform) << "the desktop portal did not answer within"
                              << m_answerTimeout.count() << "ms";
        fail({Result::NoAnswer, QStringLiteral("The desktop portal did not answer.")});
    });
}

PortalHotkeyBackend::~PortalHotkeyBackend()
{
    closeSession();
}

bool PortalHotkeyBackend::listsShortcut(const QVariantMap &results, const QString &id)
{
    return listedShortcut(results, id).has_value();
}

PortalHotkeyBackend::Answer
PortalHotkeyBackend::judgeBinding(const QVariantMap &results, const QString &id,
                                  QKeyCombination key, const std::optional<QStringList> &holder)
{
    const QString name = HotkeyKeys::displayName(key);
    // A portal that does not list what it bound has bound what it was asked.
    std::optional<QString> trigger;
    if (results.contains(QStringLiteral("shortcuts"))) {
        const auto shortcut = listedShortcut(results, id);
        if (!shortcut)
            return {Result::Refused, QStringLiteral("The desktop portal left the shortcut out.")};
        const auto found = shortcut->properties.constFind(QStringLiteral("trigger_description"));
        if (found != shortcut->properties.constEnd())
            trigger = found->toString();
    }
    if (holder && holder->size() >= 2) {
        // KDE's portal 5.27 names the group after the session token ("token_jotshelf"); one that
        // knows the app (the Registry of portals from 1.19 on) names it after the app id.
        const QString &component = holder->at(0);
        const bool ours = holder->at(1) == id
            && (component.endsWith(sessionToken()) || component == AppInfo::appId());
        // The user gave the shortcut a key of their own in the desktop's settings.
        const bool ownKey = trigger && !trigger->isEmpty() && !describesKey(*trigger, key);
        if (ours || ownKey)
            return {Result::Registered, {}};
        const QString owner = holder->value(2).isEmpty() ? holder->at(0) : holder->value(2);
        const QString action = holder->value(3).isEmpty() ? holder->at(1) : holder->value(3);
        return {
            Result::Taken,
            QStringLiteral("The desktop keeps %1 for itself (%2: “%3”).").arg(name, owner, action)};
    }
    if (trigger && trigger->isEmpty())
        return {Result::Taken,
                QStringLiteral("The desktop bound no key to the shortcut: another program or the "
                               "desktop keeps %1 for itself.")
                    .arg(name)};
    return {Result::Registered, {}};
}

void PortalHotkeyBackend::registerHotkey(const QString &id, QKeyCombination key)
{
    closeSession();
    m_id = id;
    m_key = key;
    m_trigger = HotkeyKeys::portalTrigger(key);
    if (m_trigger.isEmpty()) {
        Q_EMIT registrationFinished(id, Result::Invalid,
                                    QStringLiteral("The desktop portal has no name for %1.")
                                        .arg(HotkeyKeys::displayName(key)));
        return;
    }
    if (!m_bus.isConnected()) {
        qCWarning(lcPlatform) << "no session bus for the desktop portal:"
                              << m_bus.lastError().message();
        Q_EMIT registrationFinished(
            id, Result::Unavailable,
            QStringLiteral("There is no session bus to reach the desktop portal with."));
        return;
    }
    registerApp();
}

void PortalHotkeyBackend::unregisterHotkey(const QString &id)
{
    if (m_stage != Stage::Idle && id == m_id)
        closeSession();
}

void PortalHotkeyBackend::registerApp()
{
    // Portals from 1.19 on take global shortcuts only from an application that said who it is;
    // older ones do not know the call. Either answer goes on to the session.
    const QString appId = qGuiApp ? QGuiApplication::desktopFileName() : QString();
    if (m_appRegistered || appId.isEmpty()) {
        createSession();
        return;
    }
    m_stage = Stage::RegisteringApp;
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.host.portal.Registry"),
        QStringLiteral("Register"));
    call << appId << QVariantMap();
    const quint64 attempt = m_attempt;
    m_answerTimer.start(m_answerTimeout);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, attempt] {
        watcher->deleteLater();
        if (attempt != m_attempt)
            return;
        m_appRegistered = true;
        createSession();
    });
}

QList<PortalShortcut> PortalHotkeyBackend::shortcuts() const
{
    return {{m_id,
             {{QStringLiteral("description"), tr("Show or hide the Jotshelf notepad")},
              {QStringLiteral("preferred_trigger"), m_trigger}}}};
}

void PortalHotkeyBackend::createSession()
{
    m_stage = Stage::CreatingSession;
    // Subscribed before the session exists, so that no press after the answer is missed.
    if (!m_events) {
        m_events = new PortalShortcutEvents(m_bus, this);
        connect(m_events, &PortalShortcutEvents::Activated, this,
                [this](const QDBusObjectPath &session, const QString &shortcut) {
                    activated(session, shortcut);
                });
    }
    const QString token = newToken();
    m_sessionPath = PortalRequest::predictedSessionPath(m_bus, sessionToken());

    QDBusMessage call = portalCall(QStringLiteral("CreateSession"));
    call << QVariantMap {{QStringLiteral("handle_token"), token},
                         {QStringLiteral("session_handle_token"), sessionToken()},
                         {QStringLiteral("shortcuts"), QVariant::fromValue(shortcuts())}};
    callWithRequest(token, call, &PortalHotkeyBackend::sessionCreated);
}

void PortalHotkeyBackend::sessionCreated(const QVariantMap &results)
{
    const QString handle = sessionHandle(results);
    if (!handle.isEmpty())
        m_sessionPath = handle;
    // KDE's portal 5.27 bound the shortcut from CreateSession's options already; its
    // BindShortcuts would only open System Settings at every start.
    if (listsShortcut(results, m_id))
        checkHolder(results);
    else
        bindShortcut();
}

void PortalHotkeyBackend::bindShortcut()
{
    m_stage = Stage::Binding;
    const QString token = newToken();
    QDBusMessage call = portalCall(QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_sessionPath)) << QVariant::fromValue(shortcuts())
         << QString() << QVariantMap {{QStringLiteral("handle_token"), token}};
    callWithRequest(token, call, &PortalHotkeyBackend::shortcutBound);
}

void PortalHotkeyBackend::shortcutBound(const QVariantMap &results)
{
    checkHolder(results);
}

void PortalHotkeyBackend::checkHolder(const QVariantMap &results)
{
    m_stage = Stage::Checking;
    // Not started on its own where it does not run: on another desktop it holds nothing.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.kglobalaccel"), QStringLiteral("/kglobalaccel"),
        QStringLiteral("org.kde.KGlobalAccel"), QStringLiteral("action"));
    call.setAutoStartService(false);
    // action() takes the key as one number. Its successor actionList() takes a QKeySequence,
    // which kglobalaccel reads as exactly four numbers: fewer abort KWin, which hosts it.
    call << m_key.toCombined();
    const quint64 attempt = m_attempt;
    m_answerTimer.start(m_answerTimeout);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, attempt, results] {
        watcher->deleteLater();
        if (attempt != m_attempt)
            return;
        m_answerTimer.stop();
        const QDBusPendingReply<QStringList> reply = *watcher;
        std::optional<QStringList> holder;
        if (!reply.isError())
            holder = reply.value();
        finish(judgeBinding(results, m_id, m_key, holder));
    });
}

void PortalHotkeyBackend::finish(const Answer &answer)
{
    if (answer.result != Result::Registered) {
        fail(answer);
        return;
    }
    m_stage = Stage::Bound;
    Q_EMIT registrationFinished(m_id, Result::Registered, {});
}

void PortalHotkeyBackend::activated(const QDBusObjectPath &session, const QString &shortcut)
{
    if (m_stage == Stage::Bound && session.path() == m_sessionPath && shortcut == m_id)
        Q_EMIT pressed(m_id);
}

void PortalHotkeyBackend::callWithRequest(const QString &token, QDBusMessage call,
                                          ResponseHandler handler)
{
    // The portal may answer before its reply to the call arrives here, so the subscription to
    // the request's Response goes first; every portal with GlobalShortcuts names the request
    // after the token.
    watchRequest(PortalRequest::predictedPath(m_bus, token), handler);
    m_answerTimer.start(m_answerTimeout);

    const quint64 attempt = m_attempt;
    auto *watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(
            call, int(std::min<qint64>(m_answerTimeout.count(), std::numeric_limits<int>::max()))),
        this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, attempt, method = call.member()] {
                watcher->deleteLater();
                if (attempt != m_attempt)
                    return;
                const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
                if (reply.isError()) {
                    qCWarning(lcPlatform).noquote()
                        << "the desktop portal refused" << method << "-" << reply.error().name()
                        << reply.error().message();
                    fail({Result::Unavailable,
                          QStringLiteral("This desktop offers no portal for global shortcuts.")});
                }
            });
}

void PortalHotkeyBackend::watchRequest(const QString &path, ResponseHandler handler)
{
    if (m_request)
        m_request->deleteLater();
    m_request = new PortalRequest(path, m_bus, this);
    const quint64 attempt = m_attempt;
    connect(
        m_request, &PortalRequest::Response, this,
        [this, attempt, handler, request = m_request](uint response, const QVariantMap &results) {
            if (attempt != m_attempt || request != m_request)
                return;
            m_answerTimer.stop();
            m_request->deleteLater();
            m_request = nullptr;
            if (response != 0) {
                qCWarning(lcPlatform) << "the desktop portal answered" << response;
                fail({Result::Refused,
                      response == 1
                          ? QStringLiteral("The global shortcut was declined at the desktop.")
                          : QStringLiteral("The desktop portal refused the global shortcut.")});
                return;
            }
            (this->*handler)(results);
        });
}

void PortalHotkeyBackend::fail(const Answer &answer)
{
    closeSession();
    Q_EMIT registrationFinished(m_id, answer.result, answer.reason);
}

void PortalHotkeyBackend::closeSession()
{
    ++m_attempt;
    m_answerTimer.stop();
    if (m_request) {
        // The portal may still show its dialog for an abandoned request.
        m_bus.send(QDBusMessage::createMethodCall(portalService, m_request->path(),
                                                  requestInterface, QStringLiteral("Close")));
        m_request->deleteLater();
        m_request = nullptr;
    }
    // Also a session still being made may exist at the portal by now.
    if (!m_sessionPath.isEmpty()) {
        m_bus.send(QDBusMessage::createMethodCall(portalService, m_sessionPath, sessionInterface,
                                                  QStringLiteral("Close")));
    }
    m_stage = Stage::Idle;
    m_sessionPath.clear();
}

QString PortalHotkeyBackend::newToken()
{
    // Request tokens only have to be unique among this connection's requests; the random part
    // keeps two backends on one connection apart.
    return QStringLiteral("jotshelf_%1_%2")
        .arg(++m_tokens)
        .arg(QRandomGenerator::global()->generate() & 0xffffff, 6, 16, QChar(u'0'));
}
