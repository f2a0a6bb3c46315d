// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QKeyCombination>
#include <QString>

#include <optional>

/**
 * The keys and modifiers a global hot key may use, with what each window system calls them:
 * the X11 keysym and modifier mask, and the name in the desktop portal's shortcut notation
 * ("ALT+grave"). Both backends read this one table.
 */
namespace HotkeyKeys {

struct X11Key
{
    quint32 keysym = 0;
    quint16 modifierMask = 0;
};

/// The keysym and modifier mask of \a key; nothing for a key or modifier X11 cannot grab.
std::optional<X11Key> x11Key(QKeyCombination key);
/// \a key in the portal's notation, "CTRL+SHIFT+grave"; empty for one the portal cannot name.
QString portalTrigger(QKeyCombination key);
/// \a key as the user reads it, "Alt+`".
QString displayName(QKeyCombination key);

} // namespace HotkeyKeys
