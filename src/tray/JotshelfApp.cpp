// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/JotshelfApp.h"

#include "app/GlobalHotkey.h"
#include "app/Persistence.h"
#include "platform/AppInfo.h"
#include "platform/DesktopNotifier.h"
#include "platform/ShutdownSignals.h"
#include "tray/Translations.h"

#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QSessionManager>
#include <QSystemTrayIcon>

namespace {
const QKeySequence showNotepadKeys(GlobalHotkey::drawerKey);
const QKeySequence settingsKeys(Qt::CTRL | Qt::Key_Comma);
const QKeySequence quitKeys(Qt::CTRL | Qt::Key_Q);
} // namespace

JotshelfApp::JotshelfApp(AppServices services, QObject *parent)
    : QObject(parent)
    , m_translations(std::make_unique<Translations>())
    , m_appState(std::make_unique<AppState>(std::move(services)))
    , m_menu(std::make_unique<QMenu>())
{
    buildMenu();
    connect(m_appState.get(), &AppState::noticeRequested, this, &JotshelfApp::showNotice);

    // The icon is made even without a tray: it appears when a tray turns up later (a panel
    // that starts after Jotshelf at login).
    m_trayIcon = new QSystemTrayIcon(icon(), this);
    m_trayIcon->setToolTip(tr("Notepad"));
    m_trayIcon->setContextMenu(m_menu.get());
    m_trayIcon->show();
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        offerMenuWithoutTray();
    qApp->installEventFilter(this);

    // Whatever still waits for its pause is written when the application ends: by "Quit", by
    // SIGTERM, SIGINT or SIGHUP, or with the desktop session.
    AppState *state = m_appState.get();
    connect(qApp, &QCoreApplication::aboutToQuit, state, &AppState::flushPendingSaves);
    connect(qApp, &QGuiApplication::commitDataRequest, state,
            [state](QSessionManager &) { state->flushPendingSaves(); });
    auto *shutdown = new ShutdownSignals(this);
    connect(shutdown, &ShutdownSignals::received, state, [state] {
        // As for --quit: ending now would lose a note that could be written nowhere.
        if (state->flushPendingSaves().result == SaveOutcome::Result::Lost) {
            state->printLine(QStringLiteral("   Jotshelf stays open with the note rather than "
                                            "lose it: export it, or make room, then quit again"));
            return;
        }
        QCoreApplication::quit();
    });
}

JotshelfApp::~JotshelfApp()
{
    qApp->removeEventFilter(this);
}

// Without a tray the user would not know Jotshelf runs, nor reach its menu: the drawer opens
// once, and its context menu carries the tray menu's items below the editing actions.
void JotshelfApp::offerMenuWithoutTray()
{
    m_appState->printLine(QStringLiteral("❌ No system tray found: the notepad opens now, and its "
                                         "right-click menu holds Settings... and Quit"));
    AppState *state = m_appState.get();
    state->drawer().offerContextActions(m_menu->actions());
    QMetaObject::invokeMethod(
        state,
        [this, state] {
            BorderlessWindow *drawer = state->drawerWindow();
            if (m_opensAtStart && drawer && !state->drawer().isShowing())
                state->animateWindowIn(drawer);
        },
        Qt::QueuedConnection);
}

QIcon JotshelfApp::icon()
{
    // The bundled icon is built into the UI library, which is static: a resource in a static
    // library is registered by hand.
    static const bool registered = [] {
        Q_INIT_RESOURCE(jotshelf);
        return true;
    }();
    Q_UNUSED(registered)
    return QIcon::fromTheme(AppInfo::appId(), QIcon(QStringLiteral(":/icons/jotshelf.svg")));
}

void JotshelfApp::runCommand(InstanceCommand command, const QByteArray &startupId)
{
    DrawerControl *drawer = m_appState->drawerWindow() ? &m_appState->drawer() : nullptr;
    if (drawer && !startupId.isEmpty())
        drawer->setStartupId(startupId);
    runDrawerCommand(command);
    if (drawer && !startupId.isEmpty())
        drawer->finishCommand();
}

void JotshelfApp::runDrawerCommand(InstanceCommand command)
{
    AppState *state = m_appState.get();
    BorderlessWindow *drawer = state->drawerWindow();
    switch (command) {
    case InstanceCommand::Toggle:
        state->toggleDrawer();
        break;
    // A drawer on its way out counts as hidden: "show" brings it back, "hide" leaves it going.
    case InstanceCommand::Show:
        if (drawer && !state->drawer().isShowing())
            state->animateWindowIn(drawer);
        break;
    case InstanceCommand::Hide:
        if (drawer && state->drawer().isShowing())
            state->animateWindowOut(drawer);
        break;
    case InstanceCommand::Settings:
        state->showSettingsWindow();
        break;
    case InstanceCommand::Quit:
        state->flushPendingSaves();
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        break;
    // They carry data and an answer: handleRequest().
    case InstanceCommand::Append:
    case InstanceCommand::Print:
        break;
    }
}

void JotshelfApp::runStartCommand(InstanceCommand command)
{
    // The drawer is hidden when Jotshelf starts, so a toggle shows it; running it after the
    // drawer opened for want of a tray would close it again at once.
    if (command == InstanceCommand::Toggle)
        command = InstanceCommand::Show;
    runCommand(command);
}

InstanceReply JotshelfApp::handleRequest(const InstanceRequest &request)
{
    AppState *state = m_appState.get();
    switch (request.command) {
    case InstanceCommand::Append: {
        const QString text = InstanceCommands::fromUtf8(request.text);
        if (!state->appendToNote(text))
            return InstanceReply::failure(AppState::noteTooLongMessage()
                                          + QStringLiteral("; nothing was appended"));
        if (!request.sync)
            return {};
        const SaveOutcome outcome = state->persistence().writeNow();
        if (outcome.isSaved())
            return {};
        return InstanceReply::failure(
            QStringLiteral("the text is in the note, but the note could not be saved to %1 (%2); "
                           "Jotshelf keeps it and tries again with every change")
                .arg(outcome.file, outcome.reason));
    }
    case InstanceCommand::Print:
        return {true, state->noteContent().toUtf8(), {}};
    case InstanceCommand::Quit: {
        const SaveOutcome outcome = state->persistence().flush();
        if (outcome.isSaved()) {
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
            return {};
        }
        // Quitting now would lose the note: only with a copy of it somewhere.
        if (outcome.result == SaveOutcome::Result::Lost)
            return InstanceReply::failure(
                QStringLiteral("Jotshelf did not quit: the note could not be saved to %1 (%2), "
                               "nor copied anywhere else; it is still open in Jotshelf")
                    .arg(outcome.file, outcome.reason));
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        if (outcome.rescuePath.isEmpty())
            return InstanceReply::failure(
                QStringLiteral("quit, but the settings could not be saved to %1 (%2); the note "
                               "is saved")
                    .arg(outcome.file, outcome.reason));
        return InstanceReply::failure(
            QStringLiteral("quit without saving: the note could not be saved to %1 (%2); it was "
                           "written to %3")
                .arg(outcome.file, outcome.reason, outcome.rescuePath));
    }
    default:
        runCommand(request.command, request.startupId);
        return {};
    }
}

void JotshelfApp::buildMenu()
{
    AppState *state = m_appState.get();

    m_showNotepad = m_menu->addAction(tr("Show Notepad"));
    m_showNotepad->setShortcut(showNotepadKeys);
    connect(m_showNotepad, &QAction::triggered, state, &AppState::toggleDrawer);

    m_menu->addSeparator();
    m_settings = m_menu->addAction(tr("Settings..."));
    m_settings->setShortcut(settingsKeys);
    connect(m_settings, &QAction::triggered, state, &AppState::showSettingsWindow);

    m_menu->addSeparator();
    QMenu *positions = m_menu->addMenu(tr("Default Position"));
    m_positions = new QActionGroup(positions);
    m_positions->setExclusive(true);
    for (DrawerPosition position : DrawerPositions::all) {
        QAction *action = positions->addAction(DrawerPositions::label(position));
        action->setCheckable(true);
        action->setData(DrawerPositions::rawValue(position));
        m_positions->addAction(action);
        connect(action, &QAction::triggered, state,
                [state, position] { state->setDrawerPosition(position); });
    }
    state->subscribe(&AppState::drawerPosition, &AppState::drawerPositionChanged, m_positions,
                     [this](DrawerPosition position) {
                         if (QAction *action = positionAction(position))
                             action->setChecked(true);
                     });

    m_menu->addSeparator();
    m_quit = m_menu->addAction(tr("Quit"));
    m_quit->setShortcut(quitKeys);
    m_quit->setMenuRole(QAction::QuitRole);
    connect(m_quit, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

QAction *JotshelfApp::positionAction(DrawerPosition position) const
{
    const QString raw = DrawerPositions::rawValue(position);
    for (QAction *action : m_positions->actions()) {
        if (action->data().toString() == raw)
            return action;
    }
    return nullptr;
}

void JotshelfApp::showNotice(const QString &title, const QString &message)
{
    if (m_trayIcon && QSystemTrayIcon::isSystemTrayAvailable()
        && QSystemTrayIcon::supportsMessages()) {
        m_trayIcon->showMessage(title, message, QSystemTrayIcon::Warning);
        return;
    }
    if (!m_notifier)
        m_notifier = new DesktopNotifier(this);
    m_notifier->notify(title, message);
}

bool JotshelfApp::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    // The drawer, the settings window and the dialogs they open take the two shortcuts; the
    // tray's menu and other popups do not.
    const QWidget *window = static_cast<QWidget *>(watched)->window();
    const auto isDrawerOrSettings = [](const QWidget *w) {
        return w && (w->inherits("BorderlessWindow") || w->inherits("SettingsWindow"));
    };
    const bool ours = isDrawerOrSettings(window)
        || (window && window->parentWidget()
            && isDrawerOrSettings(window->parentWidget()->window()));
    if (!ours)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QKeySequence pressed(key->keyCombination());
    if (pressed == settingsKeys) {
        m_settings->trigger();
        return true;
    }
    if (pressed == quitKeys) {
        m_quit->trigger();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
