// PLACEHOLDER: the hot-key helper replaces this file.
#include "drawer/X11HotkeyBackend.h"

X11HotkeyBackend::X11HotkeyBackend(QObject *parent)
    : HotkeyBackend(parent)
{ }

X11HotkeyBackend::~X11HotkeyBackend() = default;

void X11HotkeyBackend::registerHotkey(quint32, quint32, HotkeyId id)
{
    Q_EMIT registrationFinished(id, unavailable);
}

void X11HotkeyBackend::unregisterHotkey(HotkeyId) { }
