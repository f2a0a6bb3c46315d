// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/HotkeyBackend.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <chrono>
#include <optional>

class PortalRequest;
class PortalShortcutEvents;

/// One shortcut as the GlobalShortcuts portal describes it: an id and its properties
/// ("description", "preferred_trigger"; in answers "trigger_description").
struct PortalShortcut
{
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(PortalShortcut)

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut);
const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut);

/**
 * Registers the hot key through the desktop portal's org.freedesktop.portal.GlobalShortcuts, the
 * way a Wayland session offers global keys, and reports presses from the portal's Activated
 * signal. Nothing here waits on the bus: the desktop may ask the user first.
 *
 * The session token is always the same, because KDE's portal (5.27) names the shortcut's group
 * in kglobalaccel after it: a new token at each start would leave a new group behind and lose
 * the key the user chose. The shortcut goes both into CreateSession's options (where 5.27 takes
 * it, binding it at once) and into BindShortcuts (where the documented interface takes it, as
 * Plasma 6 and GNOME do); BindShortcuts is left out when CreateSession's answer already lists
 * it, as 5.27 only opens System Settings on it.
 *
 * A portal answers "bound" even for a key the desktop keeps for itself (KWin holds Alt+` by
 * default), so where KDE's kglobalaccel runs, it is asked who really holds the key.
 */
class PortalHotkeyBackend : public HotkeyBackend
{
    Q_OBJECT

public:
    static constexpr auto defaultAnswerTimeout = std::chrono::minutes(2);

    /// Works on the session bus.
    explicit PortalHotkeyBackend(QObject *parent = nullptr);
    explicit PortalHotkeyBackend(const QDBusConnection &bus, QObject *parent = nullptr);
    /// Closes the portal session.
    ~PortalHotkeyBackend() override;

    /// Holds one key at a time: a second registration replaces the first.
    void registerHotkey(const QString &id, QKeyCombination key) override;
    void unregisterHotkey(const QString &id) override;

    /// How long each step waits for the portal; the user may have to answer a dialog first.
    void setAnswerTimeout(std::chrono::milliseconds timeout) { m_answerTimeout = timeout; }

    /// The token of the portal session, the same at every start.
    static QString sessionToken() { return QStringLiteral("jotshelf"); }

    struct Answer
    {
        Result result = Result::Failed;
        QString reason;
    };
    /// What a portal's answer listing the shortcuts (\a results of CreateSession on KDE 5.27, or
    /// of BindShortcuts) means for shortcut \a id with \a key. \a holder is what kglobalaccel
    /// says of the key: the action holding it (component, action, and their readable names),
    /// empty when nobody does, nothing when kglobalaccel does not run.
    static Answer judgeBinding(const QVariantMap &results, const QString &id, QKeyCombination key,
                               const std::optional<QStringList> &holder);
    /// Whether \a results list the shortcut \a id.
    static bool listsShortcut(const QVariantMap &results, const QString &id);

private:
    enum class Stage { Idle, RegisteringApp, CreatingSession, Binding, Checking, Bound };
    using ResponseHandler = void (PortalHotkeyBackend::*)(const QVariantMap &results);

    void registerApp();
    void createSession();
    void bindShortcut();
    void sessionCreated(const QVariantMap &results);
    void shortcutBound(const QVariantMap &results);
    void checkHolder(const QVariantMap &results);
    void finish(const Answer &answer);
    void activated(const QDBusObjectPath &session, const QString &shortcutId);
    QList<PortalShortcut> shortcuts() const;

    /// Subscribes to the request \a token will name, then sends \a call; \a handler gets the
    /// results of a successful response.
    void callWithRequest(const QString &token, QDBusMessage call, ResponseHandler handler);
    void watchRequest(const QString &path, ResponseHandler handler);
    void fail(const Answer &answer);
    void closeSession();
    QString newToken();

    QDBusConnection m_bus;
    std::chrono::milliseconds m_answerTimeout = defaultAnswerTimeout;
    QTimer m_answerTimer;
    Stage m_stage = Stage::Idle;
    bool m_appRegistered = false;
    QString m_id;
    QKeyCombination m_key;
    QString m_trigger;
    QString m_sessionPath;
    // Counts the registrations, so that answers meant for an abandoned one are dropped.
    quint64 m_attempt = 0;
    quint64 m_tokens = 0;
    QPointer<PortalRequest> m_request;
    QPointer<PortalShortcutEvents> m_events;
};
