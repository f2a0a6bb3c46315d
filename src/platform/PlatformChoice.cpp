// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PlatformChoice.h"

#include "platform/PlatformLog.h"
#include "platform/PortalHotkeyBackend.h"
#include "platform/X11HotkeyBackend.h"

#include <QGuiApplication>
#include <QVersionNumber>

namespace PlatformChoice {

Session Session::fromEnvironment()
{
    return Session {qEnvironmentVariable("XDG_SESSION_TYPE"),
                    qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("DISPLAY"),
                    qEnvironmentVariable("QT_QPA_PLATFORM")};
}

bool isWaylandSession(const Session &session)
{
    const QString type = session.sessionType.toLower();
    if (type == u"wayland")
        return true;
    if (type == u"x11")
        return false;
    // A compositor started from a console leaves the type at "tty".
    return !session.waylandDisplay.isEmpty();
}

bool platformChosen(const Session &session, const QString &platformOption)
{
    return !session.qtPlatform.isEmpty() || !platformOption.isEmpty();
}

bool shouldRunThroughXWayland(const Session &session, const QString &platformOption)
{
    return isWaylandSession(session) && !session.x11Display.isEmpty()
        && !platformChosen(session, platformOption);
}

HotkeyBackendKind hotkeyBackendFor(const Session &session, const QString &qtPlatformName)
{
    if (!isWaylandSession(session) && qtPlatformName == u"xcb")
        return HotkeyBackendKind::X11;
    return HotkeyBackendKind::Portal;
}

bool preferXcbOnWayland(const QString &platformOption)
{
    if (!shouldRunThroughXWayland(Session::fromEnvironment(), platformOption))
        return false;
    qputenv("QT_QPA_PLATFORM", "xcb");
    // Qt 6.8's xcb plugin crashes (a null seat in QXcbConnection::populateTouchDevices) when
    // XWayland reports a changed input device, as it does under KWin 6 when a new virtual
    // device appears. Without XInput 2, Qt reads the core events: clicks, wheel and keys stay.
    const QVersionNumber qt = QVersionNumber::fromString(QLatin1String(qVersion()));
    if (qt.majorVersion() == 6 && qt.minorVersion() == 8
        && !qEnvironmentVariableIsSet("QT_XCB_NO_XI2"))
        qputenv("QT_XCB_NO_XI2", "1");
    return true;
}

std::unique_ptr<HotkeyBackend> createHotkeyBackend()
{
    const QString platform = QGuiApplication::platformName();
    switch (hotkeyBackendFor(Session::fromEnvironment(), platform)) {
    case HotkeyBackendKind::X11:
        qCDebug(lcPlatform) << "global key through an X11 grab";
        return std::make_unique<X11HotkeyBackend>();
    case HotkeyBackendKind::Portal:
        break;
    }
    qCDebug(lcPlatform) << "global key through the desktop portal on" << platform;
    return std::make_unique<PortalHotkeyBackend>();
}

} // namespace PlatformChoice
