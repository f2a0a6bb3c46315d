// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

struct xcb_connection_t;

/**
 * Whether a compositing manager runs on the X screen, and when that changes.
 *
 * Only with one do translucent pixels show what lies behind a window, so only then can a window
 * draw a soft shadow around itself. On X11 the compositing manager owns the selection
 * _NET_WM_CM_S<screen>; XWayland's owner is the Wayland compositor, which always composites.
 * The monitor reads the owner once and then follows XFixes' selection events on Qt's own
 * connection, so a compositor starting or stopping while Jotshelf runs is noticed without polling.
 * On any other platform (offscreen, native Wayland) it reports none: the drawer keeps its plain
 * frame there.
 */
class CompositingMonitor : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit CompositingMonitor(QObject *parent = nullptr);
    ~CompositingMonitor() override;

    bool isActive() const { return m_active; }
    /// True while the compositing manager is one that shadows every window by itself, so a
    /// window must draw no shadow of its own: xcompmgr with -c or -s shadows the whole window,
    /// its transparent margin too. picom leaves windows that declare frame extents to shadow
    /// themselves; KWin and Mutter shadow only decorated windows.
    bool shadowsEveryWindow() const { return m_active && m_shadowsEveryWindow; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    void activeChanged(bool active);

private:
    void setActive(bool active);
    void readOwner(std::uint32_t owner);

    xcb_connection_t *m_connection = nullptr;
    std::uint32_t m_selection = 0;
    std::uint8_t m_selectionNotify = 0;
    bool m_active = false;
    bool m_shadowsEveryWindow = false;
};
