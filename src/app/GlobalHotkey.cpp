// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/GlobalHotkey.h"

#include "app/AppState.h"
#include "platform/HotkeyKeys.h"

#include <QCoreApplication>

namespace {

using Result = HotkeyBackend::Result;

/// The key as the user reads it: "Alt+`".
QString keyName()
{
    return HotkeyKeys::displayName(GlobalHotkey::drawerKey);
}

/// A failed registration as the console reports it: the status number and the reason line.
struct ConsoleFailure
{
    int status;
    const char *reason;
};

ConsoleFailure consoleFailure(Result result)
{
    switch (result) {
    case Result::Taken:
        return {-9868, "Hotkey already exists"};
    case Result::Invalid:
        return {-9874, "Parameter error"};
    case Result::Unavailable:
        return {-1, "Unknown error"};
    case Result::Refused:
        return {-3, "Unknown error"};
    case Result::NoAnswer:
        return {-4, "Unknown error"};
    case Result::Registered:
    case Result::Failed:
        break;
    }
    return {-2, "Unknown error"};
}

/// What happened, in the user's terms, when the backend gave no reason of its own; "%1" stands
/// for the key.
const char *generalReason(Result result)
{
    switch (result) {
    case Result::Taken:
        return QT_TRANSLATE_NOOP("GlobalHotkey",
                                 "Another program or the desktop keeps %1 for itself.");
    case Result::Invalid:
        return QT_TRANSLATE_NOOP("GlobalHotkey", "This desktop cannot register %1.");
    case Result::Unavailable:
        return QT_TRANSLATE_NOOP("GlobalHotkey",
                                 "This desktop offers no way to register a global key.");
    case Result::Refused:
        return QT_TRANSLATE_NOOP("GlobalHotkey", "The desktop refused the global key.");
    case Result::NoAnswer:
        return QT_TRANSLATE_NOOP("GlobalHotkey",
                                 "The desktop did not answer the request for the global key.");
    case Result::Registered:
    case Result::Failed:
        break;
    }
    return QT_TRANSLATE_NOOP("GlobalHotkey", "The desktop failed to register the global key.");
}

/// \a text with the key's name for its "%1", if it has one.
QString withKeyName(QString text)
{
    return text.replace(QLatin1String("%1"), keyName());
}

/// \a reason as the notice shows it. A backend's reason names keys and programs and has no
/// translation of its own: where the general reason for \a result has one, it stands in.
QString shownReason(const QString &reason, Result result)
{
    const char *general = generalReason(result);
    const QString translated = QCoreApplication::translate("GlobalHotkey", general);
    return translated != QString::fromUtf8(general) ? withKeyName(translated) : reason;
}

/// How to bind a command to a key on each desktop, as XDG_CURRENT_DESKTOP names it.
QString bindingAdvice(const QString &desktop)
{
    const QStringList names = desktop.toLower().split(u':', Qt::SkipEmptyParts);
    if (names.contains(u"kde"))
        return QCoreApplication::translate(
                   "GlobalHotkey",
                   "in System Settings → Shortcuts → Add New → Command or Script… (or, if KWin "
                   "keeps %1, clear it there under KWin and give it to Jotshelf's \"Show or hide "
                   "the Jotshelf notepad\")")
            .arg(keyName());
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
    connect(&m_state.hotkeys(), &HotkeyBackend::registrationFinished, this,
            &GlobalHotkey::registrationFinished);
}

GlobalHotkey::~GlobalHotkey()
{
    if (m_registered)
        m_state.hotkeys().unregisterHotkey(backendId());
}

void GlobalHotkey::setupGlobalHotkey()
{
    m_state.hotkeys().registerHotkey(backendId(), drawerKey);
}

void GlobalHotkey::registrationFinished(const QString &id, HotkeyBackend::Result result,
                                        const QString &reason)
{
    if (id != backendId())
        return;
    if (result != Result::Registered) {
        report(result,
               reason.isEmpty() ? withKeyName(QString::fromUtf8(generalReason(result))) : reason);
        return;
    }
    m_state.printLine(QStringLiteral("✅ Global hotkey (Option+Backtick) registered successfully"));
    // Presses count only once the key is ours.
    if (!m_registered)
        connect(&m_state.hotkeys(), &HotkeyBackend::pressed, this, &GlobalHotkey::keyPressed);
    m_registered = true;
}

void GlobalHotkey::report(HotkeyBackend::Result result, const QString &reason)
{
    const ConsoleFailure failure = consoleFailure(result);
    m_state.printLine(
        QStringLiteral("❌ Failed to register global hotkey. Status: %1").arg(failure.status));
    m_state.printLine(QStringLiteral("   Reason: ") + QLatin1String(failure.reason));
    m_state.printLine(QStringLiteral("   ") + reason);
    if (!m_noticeRequested) {
        m_noticeRequested = true;
        m_state.requestNotice(takenKeyNoticeTitle(),
                              takenKeyNoticeMessage(shownReason(reason, result),
                                                    qEnvironmentVariable("XDG_CURRENT_DESKTOP")));
    }
}

QString GlobalHotkey::takenKeyNoticeTitle()
{
    return tr("%1 is not available").arg(keyName());
}

QString GlobalHotkey::takenKeyNoticeMessage(const QString &reason, const QString &desktop)
{
    return tr("Jotshelf could not register %1. %2 To show and hide the notepad from the "
              "keyboard, bind the command \"jotshelf --toggle\" to a key %3.")
        .arg(keyName(), reason, bindingAdvice(desktop));
}

void GlobalHotkey::keyPressed(const QString &id)
{
    // The backend also reports the presses of keys registered there by others.
    if (id != backendId())
        return;
    m_state.printLine(QStringLiteral("🎯 HOTKEY TRIGGERED!"));
    // The toggle runs on a later turn of the event loop, after the press is handled; it is
    // dropped with this object when the model goes first.
    QMetaObject::invokeMethod(
        this, [this] { m_state.toggleDrawer(); }, Qt::QueuedConnection);
}
