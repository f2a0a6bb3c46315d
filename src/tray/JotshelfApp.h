// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/AppState.h"
#include "instance/InstanceCommand.h"

#include <QIcon>
#include <QObject>

#include <memory>

class DesktopNotifier;
class Translations;
class QAction;
class QActionGroup;
class QMenu;
class QSystemTrayIcon;

/// The application: it owns the one model and the tray icon with its menu ("Show Notepad",
/// "Settings...", "Default Position", "Quit"), and writes what still waits when it ends. Its
/// windows, menus and notices speak the user's language (Translations).
class JotshelfApp : public QObject
{
    Q_OBJECT

public:
    explicit JotshelfApp(AppServices services, QObject *parent = nullptr);
    ~JotshelfApp() override;

    AppState &appState() const { return *m_appState; }
    QMenu *menu() const { return m_menu.get(); }

    /// The tray menu's actions, by their texts.
    QAction *showNotepadAction() const { return m_showNotepad; }
    QAction *settingsAction() const { return m_settings; }
    QAction *quitAction() const { return m_quit; }
    QAction *positionAction(DrawerPosition position) const;

    /// The icon of the tray and the windows: the theme's, or the bundled one.
    static QIcon icon();

    /// Carries out a command of the command line, given to this instance or to another launch;
    /// the drawer it shows carries that launch's \a startupId.
    void runCommand(InstanceCommand command, const QByteArray &startupId = {});
    /// Carries out a request of another launch and says how it went: Append changes the note
    /// (and with sync waits until it is on disk), Print hands the note over, Quit says whether
    /// the note is safe.
    InstanceReply handleRequest(const InstanceRequest &request);
    /// Carries out the command this instance was started with. A toggle at the start shows the
    /// drawer, also where the drawer opens by itself for want of a tray.
    void runStartCommand(InstanceCommand command);
    /// Started for a command (--append): the drawer does not open by itself, tray or not.
    void keepDrawerClosedAtStart() { m_opensAtStart = false; }

protected:
    /// Ctrl+, and Ctrl+Q act in every window of the application, not only in the open menu.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void runDrawerCommand(InstanceCommand command);
    void buildMenu();
    void offerMenuWithoutTray();
    void showNotice(const QString &title, const QString &message);

    /// First, so that every text of the windows the model builds is in the user's language.
    std::unique_ptr<Translations> m_translations;
    std::unique_ptr<AppState> m_appState;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon *m_trayIcon = nullptr;
    QAction *m_showNotepad = nullptr;
    QAction *m_settings = nullptr;
    QAction *m_quit = nullptr;
    QActionGroup *m_positions = nullptr;
    /// Carries notices where there is no tray to show them; made on first use.
    DesktopNotifier *m_notifier = nullptr;
    /// Whether the drawer still opens at the start for want of a tray.
    bool m_opensAtStart = true;
};
