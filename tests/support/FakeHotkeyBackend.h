#pragma once

#include "platform/HotkeyBackend.h"

#include <QList>

#include <functional>
#include <utility>

/// A hot-key backend that answers what the test tells it, at once or when told, records what it
/// was asked, and presses keys on request.
class FakeHotkeyBackend : public HotkeyBackend
{
    Q_OBJECT

public:
    using HotkeyBackend::HotkeyBackend;

    /// The status the registrations answer with.
    int answer = noError;
    /// When true, registrations wait for finishRegistration() instead of answering at once.
    bool deferred = false;
    /// Runs inside registerHotkey(), before the answer: what the world looks like then.
    std::function<void(HotkeyId)> onRegister;

    QList<HotkeyId> registered;
    QList<HotkeyId> unregistered;
    quint32 lastKeyCode = 0;
    quint32 lastModifiers = 0;

    void registerHotkey(quint32 keyCode, quint32 modifiers, HotkeyId id) override
    {
        registered.append(id);
        lastKeyCode = keyCode;
        lastModifiers = modifiers;
        if (onRegister)
            onRegister(id);
        if (deferred)
            m_pending.append(id);
        else
            Q_EMIT registrationFinished(id, answer);
    }

    /// Answers every registration still waiting, with `answer`.
    void finishRegistration()
    {
        const QList<HotkeyId> pending = std::exchange(m_pending, {});
        for (const HotkeyId &id : pending)
            Q_EMIT registrationFinished(id, answer);
    }

    void unregisterHotkey(HotkeyId id) override
    {
        unregistered.append(id);
        Q_EMIT unregisterRequested(id);
    }

    void press(HotkeyId id) { Q_EMIT pressed(id); }

Q_SIGNALS:
    /// Lets a spy see an unregistration made while the model, and this backend with it, goes.
    void unregisterRequested(HotkeyId id);

private:
    QList<HotkeyId> m_pending;
};
