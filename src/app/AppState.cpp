#include "app/AppState.h"

#include "app/DataCommands.h"
#include "app/Persistence.h"
#include "app/Settings.h"
#include "app/UserPrompts.h"
#include "drawer/BorderlessWindow.h"
#include "drawer/DrawerController.h"
#include "drawer/GlobalHotkey.h"
#include "platform/HotkeyBackend.h"
#include "platform/ScreenSource.h"
#include "settings/SettingsWindow.h"
#include "storage/SettingsStore.h"

#include <algorithm>

QPointer<AppState> globalAppState;

AppState::AppState(AppServices services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    Q_ASSERT(m_services.store && m_services.screens && m_services.hotkeys && m_services.prompts);
    Settings::assignInitialValues(*this);
    m_persistence = std::make_unique<Persistence>(*this);
    m_dataCommands = std::make_unique<DataCommands>(*this);
    m_drawer = std::make_unique<DrawerController>(*this);
    m_hotkey = std::make_unique<GlobalHotkey>(*this);

    globalAppState = this;
    loadSavedContent();
    setupAutoSave();
    createDrawerWindow();
    // A drawer going away is a moment to write again what could not be written before.
    connect(drawerWindow(), &BorderlessWindow::hidden, m_persistence.get(), &Persistence::retry);
    setupGlobalHotkey();
    setWindowWidth(m_windowSize.width());
    setWindowHeight(m_windowSize.height());
    updateCurrentMargins();
    if (const auto screen = m_services.screens->mainScreen()) {
        setMaxWindowWidth(screen->visibleFrame.width());
        setMaxWindowHeight(screen->visibleFrame.height());
    }
}

AppState::~AppState()
{
    // The settings window and the drawer go before the savers, so nothing they do on the way
    // out reaches a saver that is already gone; the savers then write what still waits.
    m_settingsWindow.reset();
    m_hotkey.reset();
    m_drawer.reset();
    m_persistence.reset();
    if (globalAppState == this)
        globalAppState = nullptr;
}

void AppState::setNoteContent(const QString &value)
{
    const qsizetype oldSize = m_noteContent.size();
    const bool appends
        = value.size() >= oldSize && QStringView(value).left(oldSize) == m_noteContent;
    m_noteContent = value;
    if (appends)
        Q_EMIT noteContentEdited(oldSize, 0, value.size() - oldSize);
    else
        Q_EMIT noteContentEdited(0, oldSize, value.size());
    Q_EMIT changed();
    Q_EMIT noteContentChanged(m_noteContent);
}

void AppState::replaceNoteRange(qsizetype position, qsizetype removed, QStringView inserted)
{
    position = std::clamp<qsizetype>(position, 0, m_noteContent.size());
    removed = std::clamp<qsizetype>(removed, 0, m_noteContent.size() - position);
    m_noteContent.replace(position, removed, inserted.data(), inserted.size());
    Q_EMIT noteContentEdited(position, removed, inserted.size());
    Q_EMIT changed();
    Q_EMIT noteContentChanged(m_noteContent);
}

void AppState::setBackgroundColor(const QColor &value)
{
    assign(m_backgroundColor, value, &AppState::backgroundColorChanged);
}

void AppState::setTextColor(const QColor &value)
{
    assign(m_textColor, value, &AppState::textColorChanged);
}

BorderlessWindow *AppState::drawerWindow() const
{
    return m_drawer ? m_drawer->window() : nullptr;
}

SettingsWindow *AppState::settingsWindow() const
{
    return m_settingsWindow.get();
}

void AppState::requestNotice(const QString &title, const QString &message)
{
    QMetaObject::invokeMethod(
        this, [this, title, message] { Q_EMIT noticeRequested(title, message); },
        Qt::QueuedConnection);
}

void AppState::printLine(const QString &line) const
{
    if (m_services.console)
        m_services.console(line);
}

void AppState::loadSavedContent()
{
    m_persistence->loadSavedContent();
}

void AppState::setupAutoSave()
{
    m_persistence->setupAutoSave();
}

void AppState::flushPendingSaves()
{
    m_persistence->flush();
}

void AppState::resetToDefaults()
{
    m_dataCommands->resetToDefaults();
}

void AppState::clearAllData()
{
    m_dataCommands->clearAllData();
}

void AppState::exportNotes()
{
    m_dataCommands->exportNotes();
}

void AppState::createDrawerWindow()
{
    m_drawer->createDrawerWindow();
}

void AppState::showSettingsWindow()
{
    if (!m_settingsWindow)
        m_settingsWindow = std::make_unique<SettingsWindow>(*this);
    m_settingsWindow->present();
}

QPointF AppState::calculateDefaultPosition() const
{
    return m_drawer->calculateDefaultPosition();
}

void AppState::updateWindowSizeRealTime()
{
    m_drawer->updateWindowSizeRealTime();
}

void AppState::updateWindowOpacityRealTime()
{
    m_drawer->updateWindowOpacityRealTime();
}

void AppState::updateCurrentMargins()
{
    m_drawer->updateCurrentMargins();
}

void AppState::updateMarginsRealTime()
{
    setManualMargins(std::clamp(m_manualMargins, 10.0, 300.0));
    updateCurrentMargins();
}

void AppState::updateColorsRealTime()
{
    m_drawer->redrawVisibleWindow();
}

void AppState::animateWindowIn(BorderlessWindow *window)
{
    m_drawer->animateWindowIn(window);
}

void AppState::animateWindowOut(BorderlessWindow *window)
{
    m_drawer->animateWindowOut(window);
}

void AppState::toggleDrawer()
{
    m_drawer->toggle();
}

void AppState::setupGlobalHotkey()
{
    m_hotkey->setupGlobalHotkey();
}
