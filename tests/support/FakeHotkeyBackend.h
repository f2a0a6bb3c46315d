// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/HotkeyBackend.h"
#include "platform/HotkeyKeys.h"

#include <QHash>
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

    /// The result the registrations answer with, and its reason.
    Result answer = Result::Registered;
    QString reason;
    /// When true, registrations wait for finishRegistration() instead of answering at once.
    bool deferred = false;
    /// Runs inside registerHotkey(), before the answer: what the world looks like then.
    std::function<void(const QString &)> onRegister;

    QStringList registered;
    QStringList unregistered;
    QKeyCombination lastKey;

    void registerHotkey(const QString &id, QKeyCombination key) override
    {
        registered.append(id);
        lastKey = key;
        if (onRegister)
            onRegister(id);
        if (deferred)
            m_pending.append({id, key});
        else
            answerRegistration(id, key);
    }

    /// Answers every registration still waiting, with `answer`.
    void finishRegistration()
    {
        const auto pending = std::exchange(m_pending, {});
        for (const auto &[id, key] : pending)
            answerRegistration(id, key);
    }

    void unregisterHotkey(const QString &id) override
    {
        unregistered.append(id);
        m_held.remove(id);
        Q_EMIT unregisterRequested(id);
    }

    /// Presses the key registered under \a id, as the window system would: only a key it holds.
    void press(const QString &id)
    {
        if (m_held.contains(id))
            Q_EMIT pressed(id);
    }
    /// Presses \a key: reported for the id that holds it, if any.
    void pressKey(QKeyCombination key)
    {
        if (const QString id = m_held.key(key); !id.isEmpty())
            Q_EMIT pressed(id);
    }
    /// Reports a press of \a id whether or not it was registered: what a faulty window system
    /// might send.
    void pressAnyway(const QString &id) { Q_EMIT pressed(id); }

Q_SIGNALS:
    /// Lets a spy see an unregistration made while the model, and this backend with it, goes.
    void unregisterRequested(const QString &id);

private:
    void answerRegistration(const QString &id, QKeyCombination key)
    {
        // A key no window system has is refused whatever the test asked for.
        if (HotkeyKeys::portalTrigger(key).isEmpty()) {
            Q_EMIT registrationFinished(id, Result::Invalid, QStringLiteral("No such key."));
            return;
        }
        if (answer == Result::Registered)
            m_held.insert(id, key);
        Q_EMIT registrationFinished(id, answer, reason);
    }

    QList<std::pair<QString, QKeyCombination>> m_pending;
    QHash<QString, QKeyCombination> m_held;
};
