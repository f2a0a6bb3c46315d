// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/HotkeyControl.h"
#include "platform/HotkeyBackend.h"

#include <QKeyCombination>
#include <QObject>

class AppState;

/**
 * The global hot key that toggles the drawer from anywhere: its registration, the lines it
 * prints, the notice of a key it could not have, and what a press does.
 *
 * The backend speaks Qt keys, an id and a result; the console lines give a failure as a status
 * number and a reason line, which this class maps each result to.
 */
class GlobalHotkey : public QObject, public HotkeyControl
{
    Q_OBJECT

public:
    /// The drawer's key; fixed, the settings window only shows it.
    static constexpr QKeyCombination drawerKey {Qt::AltModifier, Qt::Key_QuoteLeft};

    explicit GlobalHotkey(AppState &state);
    /// Releases the key when it is registered.
    ~GlobalHotkey() override;

    /// Registers the key; prints the success line, or the failure line, its reason and what
    /// happened.
    void setupGlobalHotkey() override;

    /// The id the backend knows the drawer's key by.
    static QString backendId() { return QStringLiteral("toggle-drawer"); }

    /// The notice the user gets once when the key cannot be registered: what happened, and how
    /// to bind `jotshelf --toggle` instead on \a desktop (XDG_CURRENT_DESKTOP), in the user's
    /// language.
    static QString takenKeyNoticeTitle();
    static QString takenKeyNoticeMessage(const QString &reason, const QString &desktop);

private:
    void registrationFinished(const QString &id, HotkeyBackend::Result result,
                              const QString &reason);
    void report(HotkeyBackend::Result result, const QString &reason);
    void keyPressed(const QString &id);

    AppState &m_state;
    bool m_registered = false;
    bool m_noticeRequested = false;
};
