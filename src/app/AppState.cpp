#include "app/AppState.h"

#include "app/DataCommands.h"
#include "app/Persistence.h"
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

template<typename T, typename Signal>
void AppState::assign(T &member, const T &value, Signal signal)
{
    member = value;
    Q_EMIT changed();
    Q_EMIT(this->*signal)(member);
}

void AppState::setDrawerPosition(DrawerPosition value)
{
    assign(m_drawerPosition, value, &AppState::drawerPositionChanged);
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

void AppState::setWindowSize(QSizeF value)
{
    assign(m_windowSize, value, &AppState::windowSizeChanged);
}

void AppState::setWindowWidth(double value)
{
    assign(m_windowWidth, value, &AppState::windowWidthChanged);
}

void AppState::setWindowHeight(double value)
{
    assign(m_windowHeight, value, &AppState::windowHeightChanged);
}

void AppState::setWindowOpacity(double value)
{
    assign(m_windowOpacity, value, &AppState::windowOpacityChanged);
}

void AppState::setCurrentMargins(double value)
{
    assign(m_currentMargins, value, &AppState::currentMarginsChanged);
}

void AppState::setManualMargins(double value)
{
    assign(m_manualMargins, value, &AppState::manualMarginsChanged);
}

void AppState::setUseManualMargins(bool value)
{
    assign(m_useManualMargins, value, &AppState::useManualMarginsChanged);
}

void AppState::setMaxWindowWidth(double value)
{
    assign(m_maxWindowWidth, value, &AppState::maxWindowWidthChanged);
}

void AppState::setMaxWindowHeight(double value)
{
    assign(m_maxWindowHeight, value, &AppState::maxWindowHeightChanged);
}

void AppState::setBackgroundColor(const QColor &value)
{
    assign(m_backgroundColor, value, &AppState::backgroundColorChanged);
}

void AppState::setTextColor(const QColor &value)
{
    assign(m_textColor, value, &AppState::textColorChanged);
}

void AppState::setUseCustomColors(bool value)
{
    assign(m_useCustomColors, value, &AppState::useCustomColorsChanged);
}

void AppState::setAutoFormatBullets(bool value)
{
    assign(m_autoFormatBullets, value, &AppState::autoFormatBulletsChanged);
}

void AppState::setAutoFormatNumbers(bool value)
{
    assign(m_autoFormatNumbers, value, &AppState::autoFormatNumbersChanged);
}

void AppState::setAutoFormatDashes(bool value)
{
    assign(m_autoFormatDashes, value, &AppState::autoFormatDashesChanged);
}

void AppState::setSmartLinkInsertion(bool value)
{
    assign(m_smartLinkInsertion, value, &AppState::smartLinkInsertionChanged);
}

void AppState::setHideScrollIndicators(bool value)
{
    assign(m_hideScrollIndicators, value, &AppState::hideScrollIndicatorsChanged);
}

void AppState::setReduceMotion(bool value)
{
    assign(m_reduceMotion, value, &AppState::reduceMotionChanged);
}

void AppState::setHighContrastMode(bool value)
{
    assign(m_highContrastMode, value, &AppState::highContrastModeChanged);
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

SaveOutcome AppState::flushPendingSaves()
{
    return m_persistence->flush();
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
