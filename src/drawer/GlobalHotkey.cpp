#include "drawer/GlobalHotkey.h"

#include "app/AppState.h"

GlobalHotkey::GlobalHotkey(AppState &state)
    : m_state(state)
{
    HotkeyBackend &backend = m_state.hotkeys();
    connect(&backend, &HotkeyBackend::registrationFinished, this,
            &GlobalHotkey::registrationFinished);
}

GlobalHotkey::~GlobalHotkey()
{
    if (m_registered)
        m_state.hotkeys().unregisterHotkey(identifier);
}

void GlobalHotkey::setupGlobalHotkey()
{
    m_state.hotkeys().registerHotkey(keyCode, modifiers, identifier);
}

void GlobalHotkey::registrationFinished(HotkeyId id, int status)
{
    if (!(id == identifier))
        return;
    if (status == HotkeyBackend::noError) {
        m_state.printLine(
            QStringLiteral("✅ Global hotkey (Option+Backtick) registered successfully"));
        // The handler is installed only once the key is ours.
        if (!m_registered)
            connect(&m_state.hotkeys(), &HotkeyBackend::pressed, this, &GlobalHotkey::handlePress);
        m_registered = true;
        return;
    }
    m_state.printLine(QStringLiteral("❌ Failed to register global hotkey. Status: %1").arg(status));
    switch (status) {
    case HotkeyBackend::parameterError:
        m_state.printLine(QStringLiteral("   Reason: Parameter error"));
        break;
    case HotkeyBackend::alreadyTaken:
        m_state.printLine(QStringLiteral("   Reason: Hotkey already exists"));
        break;
    default:
        m_state.printLine(QStringLiteral("   Reason: Unknown error"));
        break;
    }
    if (!m_noticeRequested) {
        m_noticeRequested = true;
        m_state.requestNotice(takenKeyNoticeTitle(), takenKeyNoticeMessage());
    }
}

QString GlobalHotkey::takenKeyNoticeTitle()
{
    return QStringLiteral("Alt+` is not available");
}

QString GlobalHotkey::takenKeyNoticeMessage()
{
    return QStringLiteral(
        "Jotshelf could not register Alt+`: another program or the desktop has taken it. To show "
        "and hide the notepad from the keyboard, bind the command \"jotshelf --toggle\" to a key "
        "in your desktop's keyboard settings (the README shows how).");
}

int GlobalHotkey::handlePress(HotkeyId id)
{
    if (id == identifier) {
        m_state.printLine(QStringLiteral("🎯 HOTKEY TRIGGERED!"));
        // The toggle runs on a later turn of the event loop and finds the model through the
        // process-wide reference, as a press may arrive at any moment of the model's life.
        QMetaObject::invokeMethod(
            &m_state,
            [] {
                if (globalAppState)
                    globalAppState->toggleDrawer();
            },
            Qt::QueuedConnection);
    }
    return HotkeyBackend::noError;
}
