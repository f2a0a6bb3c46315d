// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QObject>

#include <cstdint>

class QSocketNotifier;
class QWidget;
struct xcb_connection_t;

/**
 * What a top-level window needs from an X11 window manager to come up in front with the
 * keyboard: no taskbar or pager entry (_NET_WM_STATE_SKIP_TASKBAR and _SKIP_PAGER, set before
 * each showing, since window managers drop the state of a withdrawn window), and activation as a
 * pager asks for it (_NET_ACTIVE_WINDOW with source indication 2) once the window manager has
 * mapped the window, with the X server's time of that moment as the user's time
 * (_NET_WM_USER_TIME), so that focus-stealing prevention lets it through.
 *
 * A launch's startup id (see setStartupId()) goes on the window as _NET_STARTUP_ID before it is
 * mapped, so that the window manager counts the showing as that launch's, and once the window
 * is up a startup-notification "remove" message ends the launch's feedback (a busy cursor, a
 * spinning entry in a panel).
 *
 * It reads the server's time and the window's mapping on an X connection of its own, watched on
 * the event loop: Qt's connection hands its events to Qt alone. Off X11 every call does nothing.
 */
class X11WindowActivation : public QObject
{
    Q_OBJECT

public:
    explicit X11WindowActivation(QObject *parent = nullptr);
    ~X11WindowActivation() override;

    /// Before \a window is shown: keeps it out of taskbars and pagers.
    void prepareShow(QWidget *window);
    /// After \a window was shown: activates it as soon as the window manager has mapped it.
    void activate(QWidget *window);

    /// The startup id of the launch whose command shows the window next.
    void setStartupId(const QByteArray &id);
    /// Ends the launch's feedback at once when its command showed nothing.
    void endStartup();

private:
    bool connectToServer();
    void readEvents();
    void finish();
    void sendStartupRemove(const QByteArray &id);

    xcb_connection_t *m_connection = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    std::uint32_t m_root = 0;
    std::uint32_t m_clock = 0; // a window of ours whose property changes tell the time
    std::uint32_t m_target = 0;
    std::uint32_t m_watched = 0;
    std::uint32_t m_time = 0;
    std::uint32_t m_stateAtom = 0;
    std::uint32_t m_skipAtoms[2] = {};
    std::uint32_t m_userTimeWindowAtom = 0;
    std::uint32_t m_userTimeAtom = 0;
    std::uint32_t m_activeWindowAtom = 0;
    QByteArray m_startupId; // not yet on a window
    QByteArray m_shownStartupId; // on the window, to be ended once it is up
    bool m_mapped = false;
    bool m_waiting = false;
    bool m_failed = false;
};
