// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QRect>
#include <QtGlobal>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

struct X11TestFree
{
    void operator()(void *pointer) const { std::free(pointer); }
};
template<typename T>
using X11TestReply = std::unique_ptr<T, X11TestFree>;

/// A second X client on a test's server, as another program would be: it holds keys, and reads
/// the server's modifier state and keyboard settings. Link X11::xcb.
class X11TestClient
{
public:
    explicit X11TestClient(const QByteArray &display)
        : m_connection(xcb_connect(display.constData(), &m_screenNumber))
    {
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        for (int i = 0; i < m_screenNumber && screens.rem; ++i)
            xcb_screen_next(&screens);
        if (screens.rem)
            m_root = screens.data->root;
    }
    ~X11TestClient() { xcb_disconnect(m_connection); }

    bool isConnected() const { return !xcb_connection_has_error(m_connection) && m_root; }

    /// 0 when the key became ours, else the X error code.
    int grab(xcb_keycode_t keycode, quint16 modifiers)
    {
        const X11TestReply<xcb_generic_error_t> error(
            xcb_request_check(m_connection,
                              xcb_grab_key_checked(m_connection, 0, m_root, modifiers, keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));
        return error ? error->error_code : 0;
    }

    void ungrab(xcb_keycode_t keycode, quint16 modifiers)
    {
        xcb_ungrab_key(m_connection, keycode, m_root, modifiers);
        sync();
    }

    /// The modifier and lock state the server holds now.
    quint16 modifierState()
    {
        const X11TestReply<xcb_query_pointer_reply_t> reply(xcb_query_pointer_reply(
            m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
        return reply ? reply->mask : 0;
    }

    bool autoRepeatIsOn()
    {
        const X11TestReply<xcb_get_keyboard_control_reply_t> reply(xcb_get_keyboard_control_reply(
            m_connection, xcb_get_keyboard_control(m_connection), nullptr));
        return reply && reply->global_auto_repeat;
    }

    /// Where \a window stands on the root window, and its size; null when it is gone.
    QRect rootGeometry(xcb_window_t window)
    {
        const X11TestReply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
        const X11TestReply<xcb_translate_coordinates_reply_t> origin(
            xcb_translate_coordinates_reply(
                m_connection, xcb_translate_coordinates(m_connection, window, m_root, 0, 0),
                nullptr));
        if (!geometry || !origin)
            return {};
        return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    }

    bool isViewable(xcb_window_t window)
    {
        const X11TestReply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    void sync()
    {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

private:
    int m_screenNumber = 0;
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
};
