// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QString>

/**
 * Registers system-wide key combinations and reports their presses, each under an id the caller
 * chooses (a short name such as "toggle-drawer"; the desktop portal shows it in the desktop's
 * shortcut settings).
 *
 * A registration is answered once through registrationFinished(), within registerHotkey() or
 * later (a desktop may ask the user first), with a result and, for every result but Registered,
 * a reason in the user's terms ("no X11 connection", "KWin keeps Alt+` for …").
 */
class HotkeyBackend : public QObject
{
    Q_OBJECT

public:
    enum class Result {
        /// The key is ours; its presses follow.
        Registered,
        /// Another program or the desktop holds the key.
        Taken,
        /// The window system has no such key or modifier.
        Invalid,
        /// Nothing to register with: no X11 connection, no desktop portal.
        Unavailable,
        /// The desktop answered, but did not bind the key (the user declined, an error).
        Refused,
        /// The desktop did not answer in time.
        NoAnswer,
        /// Any other failure the window system reported.
        Failed,
    };
    Q_ENUM(Result)

    using QObject::QObject;

    /// Registers \a key under \a id; a second registration of one id replaces the first.
    virtual void registerHotkey(const QString &id, QKeyCombination key) = 0;
    virtual void unregisterHotkey(const QString &id) = 0;

Q_SIGNALS:
    void registrationFinished(const QString &id, HotkeyBackend::Result result,
                              const QString &reason);
    /// The key registered under \a id was pressed (a held key's repeats are not presses).
    void pressed(const QString &id);
};
