#include "platform/PortalHotkeyBackend.h"

#include "platform/PlatformLog.h"
#include "platform/PortalRequest.h"
#include "platform/PortalShortcutEvents.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRandomGenerator>

#include <algorithm>
#include <limits>

namespace {
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
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
        fail(portalSilent);
    });
}

PortalHotkeyBackend::~PortalHotkeyBackend()
{
    closeSession();
}

QString PortalHotkeyBackend::triggerFor(quint32 keyCode, quint32 modifiers)
{
    if (keyCode != 50)
        return {};
    struct Bit
    {
        quint32 bit;
        const char *name;
    };
    // Command stands for Ctrl on Linux, as in the X11 backend.
    static constexpr Bit bits[] = {{4096, "CTRL"}, {256, "CTRL"}, {2048, "ALT"}, {512, "SHIFT"}};
    QStringList names;
    quint32 unknown = modifiers;
    for (const Bit &bit : bits) {
        if (!(modifiers & bit.bit))
            continue;
        unknown &= ~bit.bit;
        const QString name = QString::fromLatin1(bit.name);
        if (!names.contains(name))
            names << name;
    }
    if (unknown != 0)
        return {};
    names << QStringLiteral("grave");
    return names.join(u'+');
}

int PortalHotkeyBackend::bindingStatus(const QVariantMap &results)
{
    const auto found = results.constFind(QStringLiteral("shortcuts"));
    // A portal that does not list what it bound has bound what it was asked.
    if (found == results.constEnd())
        return noError;
    const auto shortcuts = qdbus_cast<QList<PortalShortcut>>(*found);
    for (const PortalShortcut &shortcut : shortcuts) {
        if (shortcut.id != shortcutId())
            continue;
        const auto trigger = shortcut.properties.constFind(QStringLiteral("trigger_description"));
        // Bound without a key: the desktop left the preferred one to whoever holds it.
        if (trigger != shortcut.properties.constEnd() && trigger->toString().isEmpty())
            return alreadyTaken;
        return noError;
    }
    return portalRefused;
}

void PortalHotkeyBackend::registerHotkey(quint32 keyCode, quint32 modifiers, HotkeyId id)
{
    closeSession();
    m_id = id;
    m_trigger = triggerFor(keyCode, modifiers);
    if (m_trigger.isEmpty()) {
        Q_EMIT registrationFinished(id, parameterError);
        return;
    }
    if (!m_bus.isConnected()) {
        qCWarning(lcPlatform) << "no session bus for the desktop portal:"
                              << m_bus.lastError().message();
        Q_EMIT registrationFinished(id, portalUnavailable);
        return;
    }
    createSession();
}

void PortalHotkeyBackend::unregisterHotkey(HotkeyId id)
{
    if (m_stage != Stage::Idle && id == m_id)
        closeSession();
}

void PortalHotkeyBackend::createSession()
{
    m_stage = Stage::CreatingSession;
    const QString token = newToken();
    const QString sessionToken = newToken();
    m_sessionPath = PortalRequest::predictedSessionPath(m_bus, sessionToken);

    QDBusMessage call = portalCall(QStringLiteral("CreateSession"));
    call << QVariantMap {{QStringLiteral("handle_token"), token},
                         {QStringLiteral("session_handle_token"), sessionToken}};
    callWithRequest(token, call, &PortalHotkeyBackend::sessionCreated);
}

void PortalHotkeyBackend::sessionCreated(const QVariantMap &results)
{
    const QString handle = sessionHandle(results);
    if (!handle.isEmpty())
        m_sessionPath = handle;
    bindShortcut();
}

void PortalHotkeyBackend::bindShortcut()
{
    m_stage = Stage::Binding;
    // Subscribed before the binding, so that no press after the answer is missed.
    if (!m_events) {
        m_events = new PortalShortcutEvents(m_bus, this);
        connect(m_events, &PortalShortcutEvents::Activated, this,
                [this](const QDBusObjectPath &session, const QString &shortcut) {
                    activated(session, shortcut);
                });
    }

    const QString token = newToken();
    const QList<PortalShortcut> shortcuts {
        {shortcutId(),
         {{QStringLiteral("description"), QStringLiteral("Show or hide the Jotshelf notepad")},
          {QStringLiteral("preferred_trigger"), m_trigger}}}};
    QDBusMessage call = portalCall(QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_sessionPath)) << QVariant::fromValue(shortcuts)
         << QString() << QVariantMap {{QStringLiteral("handle_token"), token}};
    callWithRequest(token, call, &PortalHotkeyBackend::shortcutBound);
}

void PortalHotkeyBackend::shortcutBound(const QVariantMap &results)
{
    const int status = bindingStatus(results);
    if (status != noError) {
        fail(status);
        return;
    }
    m_stage = Stage::Bound;
    Q_EMIT registrationFinished(m_id, noError);
}

void PortalHotkeyBackend::activated(const QDBusObjectPath &session, const QString &shortcut)
{
    if (m_stage == Stage::Bound && session.path() == m_sessionPath && shortcut == shortcutId())
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
                    fail(portalUnavailable);
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
                fail(portalRefused);
                return;
            }
            (this->*handler)(results);
        });
}

void PortalHotkeyBackend::fail(int status)
{
    closeSession();
    Q_EMIT registrationFinished(m_id, status);
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
    // Tokens only have to be unique among this connection's requests; the random part keeps
    // two backends on one connection apart.
    return QStringLiteral("jotshelf_%1_%2")
        .arg(++m_tokens)
        .arg(QRandomGenerator::global()->generate() & 0xffffff, 6, 16, QChar(u'0'));
}
