// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/HotkeyBackend.h"

#include <QAbstractNativeEventFilter>
#include <QList>

/**
 * Grabs the hot key on the X11 root window of Qt's own X connection, in every combination of
 * the NumLock and CapsLock states, and reports its presses from Qt's native event stream.
 *
 * Keys and modifiers become keysyms and modifier masks through HotkeyKeys. A key another client
 * grabbed (BadAccess) is Taken, one the server refuses (BadValue) Invalid; without an X11
 * connection (the offscreen platform, a Wayland session) every registration is Unavailable.
 */
class X11HotkeyBackend : public HotkeyBackend, private QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit X11HotkeyBackend(QObject *parent = nullptr);
    /// Releases every grab still held.
    ~X11HotkeyBackend() override;

    /// Answers through registrationFinished() before it returns.
    void registerHotkey(const QString &id, QKeyCombination key) override;
    void unregisterHotkey(const QString &id) override;

    struct Answer
    {
        Result result = Result::Failed;
        QString reason;
    };

private:
    struct Grab
    {
        QString id;
        quint32 root = 0;
        quint8 keycode = 0;
        quint16 modifiers = 0;
        // The lock bits (CapsLock, NumLock) a press may carry on top of `modifiers`.
        quint16 lockMask = 0;
        // The lock combinations grabbed.
        QList<quint16> lockVariants;
        // The time of the key's last release: X repeats a held key as release and press pairs
        // sharing one time stamp, and such a press is no new press.
        quint32 lastReleaseTime = 0;
        bool released = false;
    };

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
    Answer grab(QKeyCombination key, Grab &grab);
    void ungrab(const Grab &grab);
    void updateEventFilter();

    QList<Grab> m_grabs;
    bool m_filterInstalled = false;
};
