#pragma once

#include "platform/HotkeyBackend.h"

#include <QAbstractNativeEventFilter>
#include <QList>

/**
 * Grabs the hot key on the X11 root window of Qt's own X connection, in every combination of
 * the NumLock and CapsLock states, and reports its presses from Qt's native event stream.
 *
 * Key code 50 is the backtick key (keysym `grave`); the modifier bits 256 (Command) and 4096
 * (Control) become Ctrl, 512 Shift and 2048 Alt. Without an X11 connection (the offscreen
 * platform, a Wayland session) every registration answers `unavailable`.
 */
class X11HotkeyBackend : public HotkeyBackend, private QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit X11HotkeyBackend(QObject *parent = nullptr);
    /// Releases every grab still held.
    ~X11HotkeyBackend() override;

    /// Answers through registrationFinished() before it returns.
    void registerHotkey(quint32 keyCode, quint32 modifiers, HotkeyId id) override;
    void unregisterHotkey(HotkeyId id) override;

private:
    struct Grab
    {
        HotkeyId id;
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
    int grab(quint32 keyCode, quint32 modifiers, Grab &grab);
    void ungrab(const Grab &grab);
    void updateEventFilter();

    QList<Grab> m_grabs;
    bool m_filterInstalled = false;
};
