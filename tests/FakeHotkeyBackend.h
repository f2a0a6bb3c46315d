#pragma once

#include "drawer/HotkeyBackend.h"

#include <QList>

/// A hot-key backend that answers what the test tells it and records what it was asked.
class FakeHotkeyBackend : public HotkeyBackend
{
    Q_OBJECT

public:
    using HotkeyBackend::HotkeyBackend;

    /// The status the next registrations answer with.
    int answer = noError;
    QList<HotkeyId> registered;
    QList<HotkeyId> unregistered;

    void registerHotkey(quint32, quint32, HotkeyId id) override
    {
        registered.append(id);
        Q_EMIT registrationFinished(id, answer);
    }

    void unregisterHotkey(HotkeyId id) override { unregistered.append(id); }

    void press(HotkeyId id) { Q_EMIT pressed(id); }
};
