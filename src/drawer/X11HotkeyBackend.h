#pragma once

#include "drawer/HotkeyBackend.h"

/// Grabs the hot key on the X11 root window.
class X11HotkeyBackend : public HotkeyBackend
{
    Q_OBJECT

public:
    explicit X11HotkeyBackend(QObject *parent = nullptr);
    ~X11HotkeyBackend() override;

    void registerHotkey(quint32 keyCode, quint32 modifiers, HotkeyId id) override;
    void unregisterHotkey(HotkeyId id) override;
};
