// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/HotkeyControl.h"
#include "platform/HotkeyBackend.h"

#include <QObject>

#include <optional>

class AppState;

/// A global hot key's identifier: a four-character signature and a number.
struct HotkeyId
{
    quint32 signature = 0;
    quint32 id = 0;
    friend bool operator==(const HotkeyId &, const HotkeyId &) = default;
};

/// Packs four ASCII characters into a number, the first one in the most significant byte.
constexpr quint32 fourCharCode(const char (&code)[5])
{
    return (quint32(quint8(code[0])) << 24) | (quint32(quint8(code[1])) << 16)
        | (quint32(quint8(code[2])) << 8) | quint32(quint8(code[3]));
}

/**
 * The global hot key Alt+` that toggles the drawer from anywhere: its registration, the lines
 * it prints, and the handler of its presses.
 *
 * The key is known here by the application's own constants (key code 50, modifier mask 2048,
 * identifier ("Note", 1)) and statuses (0, -9868 taken, -9874 parameter error); the backend
 * speaks Qt keys, its own id and a result, and this class maps between the two.
 */
class GlobalHotkey : public QObject, public HotkeyControl
{
    Q_OBJECT

public:
    static constexpr quint32 keyCode = 50;
    static constexpr quint32 modifiers = 2048;
    static constexpr HotkeyId identifier {fourCharCode("Note"), 1};

    static constexpr int noError = 0;
    static constexpr int alreadyTaken = -9868;
    static constexpr int parameterError = -9874;

    explicit GlobalHotkey(AppState &state);
    /// Releases the key when it is registered.
    ~GlobalHotkey() override;

    /// Registers the key; prints the success line, or the failure line, its reason and what
    /// happened.
    void setupGlobalHotkey() override;

    /// Handles one press: acts only on the drawer's identifier, prints "🎯 HOTKEY TRIGGERED!"
    /// and queues the toggle for a later turn of the event loop. Returns 0.
    int handlePress(HotkeyId id);

    /// The id the backend knows the drawer's key by.
    static QString backendId() { return QStringLiteral("toggle-drawer"); }
    /// The Qt key for a key code and modifier mask of the application's; nothing for a key or
    /// modifier bit it does not know.
    static std::optional<QKeyCombination> keyFor(quint32 keyCode, quint32 modifierMask);
    /// The status a backend's result stands for: 0, -9868, -9874, -1 (nothing to register
    /// with), -2 (other failures), -3 (refused), -4 (no answer).
    static int statusFor(HotkeyBackend::Result result);
    /// What happened, in the user's terms, when the backend gave no reason of its own (in
    /// English, as the console shows it).
    static QString defaultReason(HotkeyBackend::Result result);
    /// \a reason as the notice shows it: in the user's language where it has a translation,
    /// else the translated defaultReason() of \a result, else as it is.
    static QString shownReason(const QString &reason, HotkeyBackend::Result result);

    /// The notice the user gets once when the key cannot be registered: what happened, and how
    /// to bind `jotshelf --toggle` instead on \a desktop (XDG_CURRENT_DESKTOP), in the user's
    /// language.
    static QString takenKeyNoticeTitle();
    static QString takenKeyNoticeMessage(const QString &reason, const QString &desktop);

private:
    void registrationFinished(const QString &id, HotkeyBackend::Result result,
                              const QString &reason);
    void report(int status, const QString &reason, HotkeyBackend::Result result);
    void backendPressed(const QString &id);

    AppState &m_state;
    bool m_registered = false;
    bool m_noticeRequested = false;
};
