#pragma once

#include "platform/HotkeyBackend.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>

#include <chrono>

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
 * way a Wayland session offers global keys: a session is created, one shortcut
 * ("toggle-drawer") is bound with the key as its preferred trigger, and the portal's Activated
 * signal reports the presses. The desktop may ask the user first, so the answer comes later,
 * when the portal responds; nothing here waits on the bus.
 *
 * Answers 0 once the shortcut is bound, -9868 when the desktop bound it without a key (the key
 * is taken), -9874 for a key or modifier it cannot name, and one of its own statuses below for
 * every other failure.
 */
class PortalHotkeyBackend : public HotkeyBackend
{
    Q_OBJECT

public:
    /// No portal, or no GlobalShortcuts interface, on the session bus, or the bus refused a call.
    static constexpr int portalUnavailable = -2;
    /// The portal answered, but the shortcut was not bound (cancelled, refused, left out).
    static constexpr int portalRefused = -3;
    /// The portal did not answer in time.
    static constexpr int portalSilent = -4;

    static constexpr auto defaultAnswerTimeout = std::chrono::minutes(2);

    /// Works on the session bus.
    explicit PortalHotkeyBackend(QObject *parent = nullptr);
    explicit PortalHotkeyBackend(const QDBusConnection &bus, QObject *parent = nullptr);
    /// Closes the portal session.
    ~PortalHotkeyBackend() override;

    /// Holds one key at a time: a second registration replaces the first.
    void registerHotkey(quint32 keyCode, quint32 modifiers, HotkeyId id) override;
    void unregisterHotkey(HotkeyId id) override;

    /// How long each step waits for the portal; the user may have to answer a dialog first.
    void setAnswerTimeout(std::chrono::milliseconds timeout) { m_answerTimeout = timeout; }

    /// The shortcut's id at the portal.
    static QString shortcutId() { return QStringLiteral("toggle-drawer"); }
    /// The trigger in the portal's notation ("ALT+grave"); empty for a key or modifier it
    /// cannot name.
    static QString triggerFor(quint32 keyCode, quint32 modifiers);
    /// The status the answer of BindShortcuts stands for.
    static int bindingStatus(const QVariantMap &results);

private:
    enum class Stage { Idle, CreatingSession, Binding, Bound };
    using ResponseHandler = void (PortalHotkeyBackend::*)(const QVariantMap &results);

    void createSession();
    void bindShortcut();
    void sessionCreated(const QVariantMap &results);
    void shortcutBound(const QVariantMap &results);
    void activated(const QDBusObjectPath &session, const QString &shortcutId);

    /// Subscribes to the request \a token will name, then sends \a call; \a handler gets the
    /// results of a successful response.
    void callWithRequest(const QString &token, QDBusMessage call, ResponseHandler handler);
    void watchRequest(const QString &path, ResponseHandler handler);
    void fail(int status);
    void closeSession();
    QString newToken();

    QDBusConnection m_bus;
    std::chrono::milliseconds m_answerTimeout = defaultAnswerTimeout;
    QTimer m_answerTimer;
    Stage m_stage = Stage::Idle;
    HotkeyId m_id;
    QString m_trigger;
    QString m_sessionPath;
    // Counts the registrations, so that answers meant for an abandoned one are dropped.
    quint64 m_attempt = 0;
    quint64 m_tokens = 0;
    QPointer<PortalRequest> m_request;
    QPointer<PortalShortcutEvents> m_events;
};
