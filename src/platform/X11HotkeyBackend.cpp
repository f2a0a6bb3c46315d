// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/X11HotkeyBackend.h"

#include "platform/HotkeyKeys.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>
#undef Status
#undef Bool
#undef None

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

struct X11Connection
{
    xcb_connection_t *connection = nullptr;
    Display *display = nullptr;
};

/// Qt's own X connection; nothing on another platform (offscreen, Wayland) or once it broke.
std::optional<X11Connection> x11Connection()
{
    if (!qGuiApp)
        return std::nullopt;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection() || !x11->display()
        || xcb_connection_has_error(x11->connection()))
        return std::nullopt;
    return X11Connection {x11->connection(), x11->display()};
}

struct FreeDeleter
{
    void operator()(void *pointer) const { std::free(pointer); }
};
template<typename T>
using XcbPointer = std::unique_ptr<T, FreeDeleter>;

/// The modifier bit NumLock sets in this keymap (Mod2 on most, but the keymap decides); 0 when
/// no modifier carries it.
quint16 numLockMask(const X11Connection &x11)
{
    const xcb_keycode_t numLock = XKeysymToKeycode(x11.display, XK_Num_Lock);
    if (numLock == 0)
        return 0;
    const XcbPointer<xcb_get_modifier_mapping_reply_t> reply(xcb_get_modifier_mapping_reply(
        x11.connection, xcb_get_modifier_mapping(x11.connection), nullptr));
    if (!reply)
        return 0;
    const xcb_keycode_t *keycodes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            if (keycodes[modifier * perModifier + i] == numLock)
                return quint16(1u << modifier);
        }
    }
    return 0;
}

X11HotkeyBackend::Answer answerFor(const xcb_generic_error_t &error, QKeyCombination key)
{
    using Result = HotkeyBackend::Result;
    const QString name = HotkeyKeys::displayName(key);
    switch (error.error_code) {
    case XCB_ACCESS:
        return {Result::Taken,
                QStringLiteral("Another program on this X display holds %1 already.").arg(name)};
    case XCB_VALUE:
        return {Result::Invalid, QStringLiteral("The X server refused %1 as a key.").arg(name)};
    default:
        return {Result::Failed,
                QStringLiteral("The X server answered error %1 to the grab of %2.")
                    .arg(error.error_code)
                    .arg(name)};
    }
}

} // namespace

X11HotkeyBackend::X11HotkeyBackend(QObject *parent)
    : HotkeyBackend(parent)
{ }

X11HotkeyBackend::~X11HotkeyBackend()
{
    for (const Grab &grab : std::as_const(m_grabs))
        ungrab(grab);
    m_grabs.clear();
    updateEventFilter();
}

void X11HotkeyBackend::registerHotkey(const QString &id, QKeyCombination key)
{
    unregisterHotkey(id);
    Grab grab;
    grab.id = id;
    const Answer answer = this->grab(key, grab);
    if (answer.result == Result::Registered) {
        m_grabs.append(grab);
        updateEventFilter();
    }
    Q_EMIT registrationFinished(id, answer.result, answer.reason);
}

void X11HotkeyBackend::unregisterHotkey(const QString &id)
{
    for (qsizetype i = 0; i < m_grabs.size(); ++i) {
        if (m_grabs.at(i).id == id) {
            ungrab(m_grabs.at(i));
            m_grabs.removeAt(i);
            break;
        }
    }
    updateEventFilter();
}

X11HotkeyBackend::Answer X11HotkeyBackend::grab(QKeyCombination key, Grab &grab)
{
    const auto x11 = x11Connection();
    if (!x11)
        return {Result::Unavailable,
                QStringLiteral("There is no X11 connection to register the key with.")};
    const auto x11Key = HotkeyKeys::x11Key(key);
    const xcb_keycode_t keycode = x11Key ? XKeysymToKeycode(x11->display, x11Key->keysym) : 0;
    if (keycode == 0)
        return {Result::Invalid,
                QStringLiteral("This keyboard has no key %1.").arg(HotkeyKeys::displayName(key))};

    grab.root = XDefaultRootWindow(x11->display);
    grab.keycode = keycode;
    grab.modifiers = x11Key->modifierMask;
    const quint16 numLock = numLockMask(*x11);
    grab.lockMask = XCB_MOD_MASK_LOCK | numLock;

    // X matches a grab's modifiers exactly, so each lock state needs a grab of its own.
    QList<quint16> variants;
    for (const quint16 locks :
         {quint16(0), quint16(XCB_MOD_MASK_LOCK), numLock, quint16(numLock | XCB_MOD_MASK_LOCK)}) {
        if (!variants.contains(locks) && (locks & grab.modifiers) == 0)
            variants.append(locks);
    }

    // All requests go out together and are checked together: one round trip, and each error
    // comes back to us instead of Qt's error handler.
    QList<xcb_void_cookie_t> cookies;
    for (const quint16 locks : std::as_const(variants)) {
        cookies.append(xcb_grab_key_checked(x11->connection, 0, grab.root, grab.modifiers | locks,
                                            keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    std::optional<Answer> failure;
    for (qsizetype i = 0; i < cookies.size(); ++i) {
        const XcbPointer<xcb_generic_error_t> error(
            xcb_request_check(x11->connection, cookies.at(i)));
        if (!error)
            grab.lockVariants.append(variants.at(i));
        else if (!failure)
            failure = answerFor(*error, key);
    }
    if (failure) {
        // Half a key is no key: give back the lock states that were ours.
        ungrab(grab);
        grab.lockVariants.clear();
        return *failure;
    }
    return {Result::Registered, {}};
}

void X11HotkeyBackend::ungrab(const Grab &grab)
{
    const auto x11 = x11Connection();
    if (!x11)
        return;
    for (const quint16 locks : grab.lockVariants)
        xcb_ungrab_key(x11->connection, grab.keycode, grab.root, grab.modifiers | locks);
    xcb_flush(x11->connection);
}

void X11HotkeyBackend::updateEventFilter()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    if (!m_grabs.isEmpty() && !m_filterInstalled)
        application->installNativeEventFilter(this);
    else if (m_grabs.isEmpty() && m_filterInstalled)
        application->removeNativeEventFilter(this);
    else
        return;
    m_filterInstalled = !m_grabs.isEmpty();
}

bool X11HotkeyBackend::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" || m_grabs.isEmpty())
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & ~0x80;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto *key = static_cast<const xcb_key_press_event_t *>(message);

    if (type == XCB_KEY_RELEASE) {
        // A release may come without the modifiers (Alt let go first); it still ends the press.
        bool ours = false;
        for (Grab &grab : m_grabs) {
            if (key->detail == grab.keycode && key->event == grab.root) {
                grab.lastReleaseTime = key->time;
                grab.released = true;
                ours = true;
            }
        }
        return ours;
    }

    for (const Grab &grab : std::as_const(m_grabs)) {
        if (key->detail != grab.keycode || key->event != grab.root)
            continue;
        if ((key->state & 0xff & ~grab.lockMask) != grab.modifiers)
            continue;
        if (grab.released && key->time == grab.lastReleaseTime)
            return true; // a held key's repeat
        const QString id = grab.id;
        Q_EMIT pressed(id);
        return true;
    }
    return false;
}
