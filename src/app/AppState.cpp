// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AppState.h"

#include "app/AutoFormatter.h"
#include "app/DataCommands.h"
#include "app/Persistence.h"
#include "app/Settings.h"
#include "app/UserPrompts.h"
#include "platform/HotkeyBackend.h"
#include "platform/ScreenSource.h"
#include "storage/IniWriter.h"
#include "storage/PrivateFile.h"
#include "storage/SettingsStore.h"
#include "text/NoteAppend.h"

#include <algorithm>

AppState::AppState(AppServices services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    Q_ASSERT(m_services.store && m_services.notes && m_services.screens && m_services.hotkeys
             && m_services.prompts);
    Settings::assignInitialValues(*this);
    m_persistence = std::make_unique<Persistence>(*this);
    m_dataCommands = std::make_unique<DataCommands>(*this);
    if (m_services.makeDrawer)
        m_drawer = m_services.makeDrawer(*this);
    if (m_services.makeHotkey)
        m_hotkey = m_services.makeHotkey(*this);

    loadSavedContent();
    setupAutoSave();
    createDrawerWindow();
    setupGlobalHotkey();
    setWindowWidth(m_windowSize.width());
    setWindowHeight(m_windowSize.height());
    updateCurrentMargins();
}

AppState::~AppState()
{
    // The settings window and the drawer go before the savers, so nothing they do on the way
    // out reaches a saver that is already gone; the savers then write what still waits.
    m_settingsWindow.reset();
    m_hotkey.reset();
    m_drawer.reset();
    m_persistence.reset();
}

void AppState::setNoteContent(const QString &value)
{
    m_noteBytesBound = -1;
    const qsizetype oldSize = m_noteContent.size();
    const bool appends
        = value.size() >= oldSize && QStringView(value).left(oldSize) == m_noteContent;
    m_noteContent = value;
    if (appends)
        Q_EMIT noteContentEdited(oldSize, 0, value.size() - oldSize);
    else
        Q_EMIT noteContentEdited(0, oldSize, value.size());
    Q_EMIT noteContentChanged(m_noteContent);
}

bool AppState::appendToNote(QStringView text)
{
    const NoteAppend::Edit edit = NoteAppend::appending(m_noteContent, text);
    if (!noteFits(edit.removed, edit.inserted))
        return false;
    if (edit.removed == 0 && edit.inserted.isEmpty())
        return true;
    // The list goes on after the appended text as after typed text, in the same change.
    const NoteEdit change = AutoFormatter(*this).continued(edit);
    replaceNoteRange(change.position, change.removed, change.inserted);
    return true;
}

namespace {
// What a change may add to the note's file beyond its inserted text encoded alone: an escape
// its first or the next character may need, the quotes counted with it. Removed characters
// took at least a byte each.
constexpr qsizetype changeMargin = 16;
// The file's own lines around the note.
constexpr qsizetype noteRoom = PrivateFile::maxNoteBytes - 64;
// No character takes more than 6 bytes in the file ("\\xfeff").
constexpr qsizetype mostBytesPerCharacter = 6;
} // namespace

bool AppState::noteFits(qsizetype removed, QStringView inserted) const
{
    const qsizetype characters = m_noteContent.size() - removed + inserted.size();
    if (characters <= noteRoom / mostBytesPerCharacter)
        return true;
    const qsizetype grows = IniWriter::encodedTextSize(inserted) + changeMargin - removed;
    if (m_noteBytesBound >= 0 && m_noteBytesBound + grows <= noteRoom)
        return true;
    m_noteBytesBound = IniWriter::encodedTextSize(m_noteContent);
    return m_noteBytesBound + grows <= noteRoom;
}

QString AppState::noteTooLongMessage()
{
    return QStringLiteral("the note would grow past %1 MB, more than Jotshelf keeps")
        .arg(PrivateFile::maxNoteBytes >> 20);
}

void AppState::replaceNoteRange(qsizetype position, qsizetype removed, QStringView inserted)
{
    position = std::clamp<qsizetype>(position, 0, m_noteContent.size());
    removed = std::clamp<qsizetype>(removed, 0, m_noteContent.size() - position);
    if (m_noteBytesBound >= 0)
        m_noteBytesBound += IniWriter::encodedTextSize(inserted) + changeMargin - removed;
    m_noteContent.replace(position, removed, inserted.data(), inserted.size());
    Q_EMIT noteContentEdited(position, removed, inserted.size());
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
    return m_settingsWindow ? m_settingsWindow->settingsWindow() : nullptr;
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
    if (m_drawer)
        m_drawer->createDrawerWindow();
}

void AppState::showSettingsWindow()
{
    if (!m_settingsWindow && m_services.makeSettingsWindow)
        m_settingsWindow = m_services.makeSettingsWindow(*this);
    if (m_settingsWindow)
        m_settingsWindow->present();
}

QPointF AppState::calculateDefaultPosition() const
{
    return m_drawer ? m_drawer->calculateDefaultPosition() : QPointF(0, 0);
}

void AppState::updateWindowSizeRealTime()
{
    if (m_drawer)
        m_drawer->updateWindowSizeRealTime();
}

void AppState::updateWindowOpacityRealTime()
{
    if (m_drawer)
        m_drawer->updateWindowOpacityRealTime();
}

void AppState::updateCurrentMargins()
{
    if (m_drawer)
        m_drawer->updateCurrentMargins();
}

void AppState::updateMarginsRealTime()
{
    setManualMargins(Settings::manualMargins.limits.clamp(m_manualMargins));
    updateCurrentMargins();
}

void AppState::updateColorsRealTime()
{
    if (m_drawer)
        m_drawer->redrawVisibleWindow();
}

void AppState::animateWindowIn(BorderlessWindow *window)
{
    if (m_drawer)
        m_drawer->animateWindowIn(window);
}

void AppState::animateWindowOut(BorderlessWindow *window)
{
    if (m_drawer)
        m_drawer->animateWindowOut(window);
}

void AppState::toggleDrawer()
{
    if (m_drawer)
        m_drawer->toggle();
}

void AppState::setupGlobalHotkey()
{
    if (m_hotkey)
        m_hotkey->setupGlobalHotkey();
}
