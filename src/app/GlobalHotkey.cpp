// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/GlobalHotkey.h"

#include "app/AppState.h"

#include <QCoreApplication>

namespace {

using Result = HotkeyBackend::Result;

/// How to bind a command to a key on each desktop, as XDG_CURRENT_DESKTOP names it.
QString bindingAdvice(const QString &desktop)
{
    const QStringList names = desktop.toLower().split(u':', Qt::SkipEmptyParts);
    if (names.contains(u"kde"))
        return QCoreApplication::translate(
            "GlobalHotkey",
            "in System Settings → Shortcuts → Add New → Command or Script… (or, if KWin keeps "
            "Alt+`, clear it there under KWin and give it to Jotshelf's \"Show or hide the "
            "Jotshelf notepad\")");
    if (names.contains(u"gnome") || names.contains(u"unity") || names.contains(u"budgie"))
        return QCoreApplication::translate(
            "GlobalHotkey",
            "in Settings → Keyboard → View and Customize Shortcuts → Custom Shortcuts");
    if (names.contains(u"xfce"))
        return QCoreApplication::translate("GlobalHotkey",
                                           "in Settings → Keyboard → Application Shortcuts → Add");
    if (names.contains(u"x-cinnamon") || names.contains(u"cinnamon"))
        return QCoreApplication::translate(
            "GlobalHotkey", "in System Settings → Keyboard → Shortcuts → Custom Shortcuts");
    if (names.contains(u"mate"))
        return QCoreApplication::translate("GlobalHotkey",
                                           "in Control Center → Keyboard Shortcuts → Add");
    if (names.contains(u"lxqt"))
        return QCoreApplication::translate("GlobalHotkey",
                                           "in LXQt Configuration Center → Shortcut Keys → Add");
    return QCoreApplication::translate(
        "GlobalHotkey", "in your desktop's keyboard settings (the README shows how)");
}

} // namespace

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
        m_state.hotkeys().unregisterHotkey(backendId());
}

std::optional<QKeyCombination> GlobalHotkey::keyFor(quint32 keyCode, quint32 modifierMask)
{
    if (keyCode != 50)
        return std::nullopt;
    struct Bit
    {
        quint32 bit;
        Qt::KeyboardModifier modifier;
    };
    // Command stands for Ctrl on Linux, as does Control.
    static constexpr Bit bits[] = {{256, Qt::ControlModifier},
                                   {512, Qt::ShiftModifier},
                                   {2048, Qt::AltModifier},
                                   {4096, Qt::ControlModifier}};
    Qt::KeyboardModifiers qtModifiers;
    quint32 unknown = modifierMask;
    for (const Bit &bit : bits) {
        if (modifierMask & bit.bit) {
            qtModifiers |= bit.modifier;
            unknown &= ~bit.bit;
        }
    }
    if (unknown != 0)
        return std::nullopt;
    return QKeyCombination(qtModifiers, Qt::Key_QuoteLeft);
}

int GlobalHotkey::statusFor(HotkeyBackend::Result result)
{
    switch (result) {
    case Result::Registered:
        return noError;
    case Result::Taken:
        return alreadyTaken;
    case Result::Invalid:
        return parameterError;
    case Result::Unavailable:
        return -1;
    case Result::Failed:
        return -2;
    case Result::Refused:
        return -3;
    case Result::NoAnswer:
        return -4;
    }
    return -2;
}

QString GlobalHotkey::defaultReason(HotkeyBackend::Result result)
{
    switch (result) {
    case Result::Registered:
        return {};
    case Result::Taken:
        return QString::fromUtf8(QT_TRANSLATE_NOOP(
            "GlobalHotkey", "Another program or the desktop keeps Alt+` for itself."));
    case Result::Invalid:
        return QString::fromUtf8(
            QT_TRANSLATE_NOOP("GlobalHotkey", "This desktop cannot register Alt+`."));
    case Result::Unavailable:
        return QString::fromUtf8(QT_TRANSLATE_NOOP(
            "GlobalHotkey", "This desktop offers no way to register a global key."));
    case Result::Refused:
        return QString::fromUtf8(
            QT_TRANSLATE_NOOP("GlobalHotkey", "The desktop refused the global key."));
    case Result::NoAnswer:
        return QString::fromUtf8(QT_TRANSLATE_NOOP(
            "GlobalHotkey", "The desktop did not answer the request for the global key."));
    case Result::Failed:
        break;
    }
    return QString::fromUtf8(
        QT_TRANSLATE_NOOP("GlobalHotkey", "The desktop failed to register the global key."));
}

void GlobalHotkey::setupGlobalHotkey()
{
    const auto key = keyFor(keyCode, modifiers);
    if (!key) {
        report(parameterError, defaultReason(Result::Invalid), Result::Invalid);
        return;
    }
    m_state.hotkeys().registerHotkey(backendId(), *key);
}

void GlobalHotkey::registrationFinished(const QString &id, HotkeyBackend::Result result,
                                        const QString &reason)
{
    if (id != backendId())
        return;
    if (result != Result::Registered) {
        report(statusFor(result), reason.isEmpty() ? defaultReason(result) : reason, result);
        return;
    }
    m_state.printLine(QStringLiteral("✅ Global hotkey (Option+Backtick) registered successfully"));
    // The handler is installed only once the key is ours.
    if (!m_registered)
        connect(&m_state.hotkeys(), &HotkeyBackend::pressed, this, &GlobalHotkey::backendPressed);
    m_registered = true;
}

void GlobalHotkey::report(int status, const QString &reason, HotkeyBackend::Result result)
{
    m_state.printLine(QStringLiteral("❌ Failed to register global hotkey. Status: %1").arg(status));
    switch (status) {
    case parameterError:
        m_state.printLine(QStringLiteral("   Reason: Parameter error"));
        break;
    case alreadyTaken:
        m_state.printLine(QStringLiteral("   Reason: Hotkey already exists"));
        break;
    default:
        m_state.printLine(QStringLiteral("   Reason: Unknown error"));
        break;
    }
    m_state.printLine(QStringLiteral("   ") + reason);
    if (!m_noticeRequested) {
        m_noticeRequested = true;
        m_state.requestNotice(takenKeyNoticeTitle(),
                              takenKeyNoticeMessage(shownReason(reason, result),
                                                    qEnvironmentVariable("XDG_CURRENT_DESKTOP")));
    }
}

QString GlobalHotkey::shownReason(const QString &reason, HotkeyBackend::Result result)
{
    const auto translated = [](const QString &text) {
        return QCoreApplication::translate("GlobalHotkey", text.toUtf8().constData());
    };
    if (const QString own = translated(reason); own != reason)
        return own;
    // A backend's reason names keys and programs, and has no translation of its own: the
    // general reason for its result stands in for it where that one has a translation.
    const QString general = defaultReason(result);
    if (const QString shown = translated(general); shown != general)
        return shown;
    return reason;
}

QString GlobalHotkey::takenKeyNoticeTitle()
{
    return tr("Alt+` is not available");
}

QString GlobalHotkey::takenKeyNoticeMessage(const QString &reason, const QString &desktop)
{
    return tr("Jotshelf could not register Alt+`. %1 To show and hide the notepad from the "
              "keyboard, "
              "bind the command \"jotshelf --toggle\" to a key %2.")
        .arg(reason, bindingAdvice(desktop));
}

void GlobalHotkey::backendPressed(const QString &id)
{
    // Presses of keys registered by others on the same backend carry no identifier of ours.
    handlePress(id == backendId() ? identifier : HotkeyId {});
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
    return noError;
}
