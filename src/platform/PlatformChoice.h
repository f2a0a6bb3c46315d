// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <memory>

class HotkeyBackend;

/**
 * Which Qt platform Jotshelf runs on, and which hot-key backend goes with it.
 *
 * On a Wayland session Jotshelf runs through XWayland (Qt's xcb platform) unless the user chose
 * a platform, as only X11 lets a window place itself at a screen edge. The global key still goes
 * through the desktop portal there: an X11 grab under XWayland sees only the keys typed into X11
 * windows.
 */
namespace PlatformChoice {

/// What the choice depends on, as the environment tells it.
struct Session
{
    /// XDG_SESSION_TYPE: "x11", "wayland", "tty" or empty.
    QString sessionType;
    QString waylandDisplay;
    QString x11Display;
    /// QT_QPA_PLATFORM.
    QString qtPlatform;

    static Session fromEnvironment();
};

enum class HotkeyBackendKind { X11, Portal };

/// A Wayland session: said so by XDG_SESSION_TYPE, or, where that names neither window system,
/// a Wayland display being set.
bool isWaylandSession(const Session &session);
/// The user chose Qt's platform, by QT_QPA_PLATFORM or \a platformOption, the platform the
/// command line's -platform names (CommandLine::platform()).
bool platformChosen(const Session &session, const QString &platformOption);
/// On a Wayland session with an X11 display at hand, and no platform chosen by the user.
bool shouldRunThroughXWayland(const Session &session, const QString &platformOption);
/// The X11 grab on an X11 session running on xcb; the portal on a Wayland session whatever
/// platform Qt runs on, and wherever there is no X11 connection.
HotkeyBackendKind hotkeyBackendFor(const Session &session, const QString &qtPlatformName);

/// Chooses the xcb platform for a Wayland session (see shouldRunThroughXWayland()). Call it
/// before the QApplication is made; returns whether it chose.
bool preferXcbOnWayland(const QString &platformOption);
/// The hot-key backend for this session and the platform the QApplication runs on.
std::unique_ptr<HotkeyBackend> createHotkeyBackend();

} // namespace PlatformChoice
