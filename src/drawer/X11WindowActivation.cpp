// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "drawer/X11WindowActivation.h"

#include "platform/QtXcb.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

namespace {
using QtXcb::Reply;

constexpr std::uint32_t sourcePager = 2;

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

using QtXcb::internAtom;
} // namespace

X11WindowActivation::X11WindowActivation(QObject *parent)
    : QObject(parent)
{ }

X11WindowActivation::~X11WindowActivation()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

void X11WindowActivation::prepareShow(QWidget *window)
{
    xcb_connection_t *qt = QtXcb::connection();
    if (!qt)
        return;
    // On Qt's own connection, so that it lands before Qt reads the state back to add its own
    // (above, stays on top) while it maps the window.
    if (!m_stateAtom) {
        m_stateAtom = internAtom(qt, "_NET_WM_STATE");
        m_skipAtoms[0] = internAtom(qt, "_NET_WM_STATE_SKIP_TASKBAR");
        m_skipAtoms[1] = internAtom(qt, "_NET_WM_STATE_SKIP_PAGER");
    }
    xcb_change_property(qt, XCB_PROP_MODE_REPLACE, std::uint32_t(window->winId()), m_stateAtom,
                        XCB_ATOM_ATOM, 32, 2, m_skipAtoms);
    if (!m_startupId.isEmpty()) {
        const std::uint32_t startupAtom = internAtom(qt, "_NET_STARTUP_ID");
        const std::uint32_t utf8 = internAtom(qt, "UTF8_STRING");
        xcb_change_property(qt, XCB_PROP_MODE_REPLACE, std::uint32_t(window->winId()), startupAtom,
                            utf8, 8, std::uint32_t(m_startupId.size()), m_startupId.constData());
        m_shownStartupId = std::exchange(m_startupId, {});
    }
}

void X11WindowActivation::setStartupId(const QByteArray &id)
{
    m_startupId = id;
}

void X11WindowActivation::endStartup()
{
    if (!m_startupId.isEmpty() && connectToServer()) {
        sendStartupRemove(m_startupId);
        xcb_flush(m_connection);
    }
    m_startupId.clear();
}

// "remove: ID=<id>" on the root window, as the startup-notification protocol has it: in pieces
// of 20 bytes, the first of type _NET_STARTUP_INFO_BEGIN, the rest _NET_STARTUP_INFO, ending
// with a NUL.
void X11WindowActivation::sendStartupRemove(const QByteArray &id)
{
    QByteArray value = id;
    if (value.contains('"') || value.contains('\\')) {
        value.replace("\\", "\\\\").replace("\"", "\\\"");
        value = '"' + value + '"';
    }
    const QByteArray text = "remove: ID=" + value + '\0';
    const std::uint32_t begin = internAtom(m_connection, "_NET_STARTUP_INFO_BEGIN");
    const std::uint32_t more = internAtom(m_connection, "_NET_STARTUP_INFO");
    for (qsizetype offset = 0; offset < text.size(); offset += 20) {
        xcb_client_message_event_t message {};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 8;
        message.window = m_clock;
        message.type = offset == 0 ? begin : more;
        std::memcpy(message.data.data8, text.constData() + offset,
                    size_t(std::min<qsizetype>(20, text.size() - offset)));
        xcb_send_event(m_connection, 0, m_root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char *>(&message));
    }
}

bool X11WindowActivation::connectToServer()
{
    if (m_connection)
        return true;
    if (m_failed || !onX11())
        return false;
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (xcb_connection_has_error(m_connection) || !screens.rem) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        m_failed = true;
        return false;
    }
    m_root = screens.data->root;
    m_userTimeWindowAtom = internAtom(m_connection, "_NET_WM_USER_TIME_WINDOW");
    m_userTimeAtom = internAtom(m_connection, "_NET_WM_USER_TIME");
    m_activeWindowAtom = internAtom(m_connection, "_NET_ACTIVE_WINDOW");
    m_clock = xcb_generate_id(m_connection);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_clock, m_root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    m_notifier
        = new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11WindowActivation::readEvents);
    return true;
}

void X11WindowActivation::activate(QWidget *window)
{
    if (!connectToServer())
        return;
    m_target = std::uint32_t(window->winId());
    m_time = 0;
    m_waiting = true;
    if (m_watched != m_target) {
        const std::uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_target, XCB_CW_EVENT_MASK, &events);
        m_watched = m_target;
    }
    // A property change of zero bytes: its notification carries the server's time.
    xcb_change_property(m_connection, XCB_PROP_MODE_APPEND, m_clock, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, 0, nullptr);
    // Mapped means the window manager has taken the window in (its frame may not be yet).
    const Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, m_target), nullptr));
    m_mapped = attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED;
    readEvents();
}

void X11WindowActivation::readEvents()
{
    if (!m_connection)
        return;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        const Reply<xcb_generic_event_t> owned(event);
        switch (event->response_type & ~0x80) {
        case XCB_PROPERTY_NOTIFY: {
            const auto *property = reinterpret_cast<xcb_property_notify_event_t *>(event);
            if (property->window == m_clock)
                m_time = property->time;
            break;
        }
        case XCB_MAP_NOTIFY:
            if (reinterpret_cast<xcb_map_notify_event_t *>(event)->window == m_target)
                m_mapped = true;
            break;
        case XCB_UNMAP_NOTIFY:
            if (reinterpret_cast<xcb_unmap_notify_event_t *>(event)->window == m_target)
                m_mapped = false;
            break;
        default:
            break;
        }
    }
    if (m_waiting && m_mapped && m_time)
        finish();
}

void X11WindowActivation::finish()
{
    m_waiting = false;
    // Qt keeps the user time on a window of its own when the window manager supports that.
    std::uint32_t timeWindow = m_target;
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, m_target, m_userTimeWindowAtom, XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) == 4)
        timeWindow = *static_cast<std::uint32_t *>(xcb_get_property_value(reply.get()));
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, timeWindow, m_userTimeAtom,
                        XCB_ATOM_CARDINAL, 32, 1, &m_time);

    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = m_target;
    message.type = m_activeWindowAtom;
    message.data.data32[0] = sourcePager;
    message.data.data32[1] = m_time;
    message.data.data32[2] = XCB_WINDOW_NONE;
    xcb_send_event(m_connection, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    if (!m_shownStartupId.isEmpty())
        sendStartupRemove(std::exchange(m_shownStartupId, {}));
    xcb_flush(m_connection);
}
