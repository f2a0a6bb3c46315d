#pragma once

#include "platform/HotkeyBackend.h"

#include <QObject>

class AppState;

/// The global hot key Alt+` that toggles the drawer from anywhere: its registration, the lines
/// it prints, and the handler of its presses.
class GlobalHotkey : public QObject
{
    Q_OBJECT

public:
    static constexpr quint32 keyCode = 50;
    static constexpr quint32 modifiers = 2048;
    static constexpr HotkeyId identifier {fourCharCode("Note"), 1};

    explicit GlobalHotkey(AppState &state);
    /// Releases the key when it is registered.
    ~GlobalHotkey() override;

    /// Registers the key; prints the success line, or the failure line and its reason.
    void setupGlobalHotkey();

    /// Handles one press: acts only on the drawer's identifier, prints "🎯 HOTKEY TRIGGERED!"
    /// and queues the toggle for a later turn of the event loop. Returns 0.
    int handlePress(HotkeyId id);

    /// The notice the user gets once when the key cannot be registered: the key is taken, and
    /// how to bind `jotshelf --toggle` instead.
    static QString takenKeyNoticeTitle();
    static QString takenKeyNoticeMessage();

private:
    void registrationFinished(HotkeyId id, int status);

    AppState &m_state;
    bool m_registered = false;
    bool m_noticeRequested = false;
};
