// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/DrawerControl.h"
#include "app/HotkeyControl.h"
#include "app/SaveOutcome.h"
#include "app/SettingsControl.h"
#include "app/UserPrompts.h"
#include "geometry/DrawerPosition.h"
#include "platform/HotkeyBackend.h"
#include "platform/ScreenSource.h"
#include "storage/NoteStore.h"
#include "storage/SettingsStore.h"

#include <QColor>
#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>

class AppState;
class BorderlessWindow;
class DataCommands;
class Persistence;
class SettingsWindow;

/// The services the model works through. Each one is a seam: the application hands in the real
/// ones, tests hand in a settings file of their own, a fixed screen, a fake hot key and scripted
/// dialog answers.
struct AppServices
{
    /// The defaults store (the settings file).
    std::unique_ptr<SettingsStore> store;
    /// The note's own store, beside the settings file.
    std::unique_ptr<NoteStore> notes;
    /// The main screen's frames; no main screen when it answers nothing.
    std::shared_ptr<const ScreenSource> screens;
    /// Registers the global hot key.
    std::unique_ptr<HotkeyBackend> hotkeys;
    /// Asks the user (confirmation, save dialog) and tells them about failures.
    std::unique_ptr<UserPrompts> prompts;
    /// Receives each diagnostic line; the application prints it to standard output.
    std::function<void(const QString &)> console;
    /// Makes the drawer's window and its controller (the UI library's); without it the model
    /// runs without a drawer, and the operations on it do nothing.
    std::function<std::unique_ptr<DrawerControl>(AppState &)> makeDrawer;
    /// Makes the settings window when it is first asked for.
    std::function<std::unique_ptr<SettingsControl>(AppState &)> makeSettingsWindow;
    /// Makes the global hot key; without it the model registers no key.
    std::function<std::unique_ptr<HotkeyControl>(AppState &)> makeHotkey;
};

/**
 * The one application model: the note, every setting, the two windows, the global hot key and
 * the savers that write settings back by themselves.
 *
 * Every assignment to a property announces itself synchronously, also when the value is equal,
 * through the property's own signal carrying the new value.
 * `subscribe()` connects to a property's signal and hands the current value over at once.
 *
 * The operations are those of the whole system; each forwards to the subsystem that owns it
 * (slides in drawer/, the settings window in settings/, the hot key in GlobalHotkey), so that the
 * model stays a model.
 */
class AppState : public QObject
{
    Q_OBJECT

public:
    /// Runs the whole initialisation: initial values, the global reference, loading, savers,
    /// the drawer window, the hot key, the width and height copies, margins and slider maxima.
    explicit AppState(AppServices services, QObject *parent = nullptr);
    ~AppState() override;

    // --- Observable properties ---------------------------------------------------------------
    DrawerPosition drawerPosition() const { return m_drawerPosition; }
    void setDrawerPosition(DrawerPosition value)
    {
        assign(m_drawerPosition, value, &AppState::drawerPositionChanged);
    }

    const QString &noteContent() const { return m_noteContent; }
    /// Replaces the whole note. An assignment that only appends announces itself as an append,
    /// so that an open editor inserts the new tail instead of reloading the note.
    void setNoteContent(const QString &value);
    /// Replaces \a removed characters at \a position by \a inserted: the editor's way of
    /// writing a keystroke without copying the whole note through the model.
    void replaceNoteRange(qsizetype position, qsizetype removed, QStringView inserted);
    /// Joins \a text handed in from outside (`jotshelf --append`) to the end of the note, on a
    /// line of its own as typing it there would. False, the note unchanged, when it would not
    /// fit (noteFits()).
    bool appendToNote(QStringView text);
    /// Whether the note, with \a removed of its characters replaced by \a inserted, still fits
    /// the note file a start reads (PrivateFile::maxNoteBytes, as encoded there). Past that a
    /// start would read only the note's beginning, so such a change is refused. Cheap for a
    /// short note; a long one is measured once and then bounded change by change.
    bool noteFits(qsizetype removed, QStringView inserted) const;
    /// The message that tells the user a change was refused by noteFits().
    static QString noteTooLongMessage();

    QSizeF windowSize() const { return m_windowSize; }
    void setWindowSize(QSizeF value) { assign(m_windowSize, value, &AppState::windowSizeChanged); }

    double windowWidth() const { return m_windowWidth; }
    void setWindowWidth(double value)
    {
        assign(m_windowWidth, value, &AppState::windowWidthChanged);
    }
    double windowHeight() const { return m_windowHeight; }
    void setWindowHeight(double value)
    {
        assign(m_windowHeight, value, &AppState::windowHeightChanged);
    }

    double windowOpacity() const { return m_windowOpacity; }
    void setWindowOpacity(double value)
    {
        assign(m_windowOpacity, value, &AppState::windowOpacityChanged);
    }

    double currentMargins() const { return m_currentMargins; }
    void setCurrentMargins(double value)
    {
        assign(m_currentMargins, value, &AppState::currentMarginsChanged);
    }
    double manualMargins() const { return m_manualMargins; }
    void setManualMargins(double value)
    {
        assign(m_manualMargins, value, &AppState::manualMarginsChanged);
    }
    bool useManualMargins() const { return m_useManualMargins; }
    void setUseManualMargins(bool value)
    {
        assign(m_useManualMargins, value, &AppState::useManualMarginsChanged);
    }

    double maxWindowWidth() const { return m_maxWindowWidth; }
    void setMaxWindowWidth(double value)
    {
        assign(m_maxWindowWidth, value, &AppState::maxWindowWidthChanged);
    }
    double maxWindowHeight() const { return m_maxWindowHeight; }
    void setMaxWindowHeight(double value)
    {
        assign(m_maxWindowHeight, value, &AppState::maxWindowHeightChanged);
    }

    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &value);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &value);
    bool useCustomColors() const { return m_useCustomColors; }
    void setUseCustomColors(bool value)
    {
        assign(m_useCustomColors, value, &AppState::useCustomColorsChanged);
    }

    bool autoFormatBullets() const { return m_autoFormatBullets; }
    void setAutoFormatBullets(bool value)
    {
        assign(m_autoFormatBullets, value, &AppState::autoFormatBulletsChanged);
    }
    bool autoFormatNumbers() const { return m_autoFormatNumbers; }
    void setAutoFormatNumbers(bool value)
    {
        assign(m_autoFormatNumbers, value, &AppState::autoFormatNumbersChanged);
    }
    bool autoFormatDashes() const { return m_autoFormatDashes; }
    void setAutoFormatDashes(bool value)
    {
        assign(m_autoFormatDashes, value, &AppState::autoFormatDashesChanged);
    }
    bool smartLinkInsertion() const { return m_smartLinkInsertion; }
    void setSmartLinkInsertion(bool value)
    {
        assign(m_smartLinkInsertion, value, &AppState::smartLinkInsertionChanged);
    }
    bool hideScrollIndicators() const { return m_hideScrollIndicators; }
    void setHideScrollIndicators(bool value)
    {
        assign(m_hideScrollIndicators, value, &AppState::hideScrollIndicatorsChanged);
    }
    bool reduceMotion() const { return m_reduceMotion; }
    void setReduceMotion(bool value)
    {
        assign(m_reduceMotion, value, &AppState::reduceMotionChanged);
    }
    bool highContrastMode() const { return m_highContrastMode; }
    void setHighContrastMode(bool value)
    {
        assign(m_highContrastMode, value, &AppState::highContrastModeChanged);
    }

    /// Connects \a fn to the property's \a signal and calls it at once with the current value
    /// read through \a getter.
    template<typename Getter, typename Signal, typename Fn>
    QMetaObject::Connection subscribe(Getter getter, Signal signal, const QObject *context, Fn fn)
    {
        auto connection = connect(this, signal, context, fn);
        fn((this->*getter)());
        return connection;
    }

    // --- Plain fields --------------------------------------------------------------------------
    /// The drawer window; null until createDrawerWindow() made it.
    BorderlessWindow *drawerWindow() const;
    /// The settings window; null until showSettingsWindow() first made it.
    SettingsWindow *settingsWindow() const;
    SettingsStore &userDefaults() const { return *m_services.store; }
    NoteStore &noteStore() const { return *m_services.notes; }
    const ScreenSource &screens() const { return *m_services.screens; }
    UserPrompts &prompts() const { return *m_services.prompts; }
    HotkeyBackend &hotkeys() const { return *m_services.hotkeys; }
    /// The loader and savers of the note and the settings, which know whether both are saved.
    Persistence &persistence() const { return *m_persistence; }
    /// The drawer's window, geometry and slides. Only for a model made with a drawer.
    DrawerControl &drawer() const { return *m_drawer; }
    /// The settings window's controls; null until showSettingsWindow() first made it.
    SettingsControl *settings() const { return m_settingsWindow.get(); }
    /// Asks the application to tell the user something once (noticeRequested()). Queued, so a
    /// notice asked for while the model is still being made reaches the application, which
    /// listens only once the model exists.
    void requestNotice(const QString &title, const QString &message);
    /// Prints one diagnostic line.
    void printLine(const QString &line) const;

    // --- Operations ----------------------------------------------------------------------------
    void loadSavedContent();
    void setupAutoSave();
    /// Writes every value still waiting in a debounce and syncs the store; says what became of
    /// the note and the settings (see Persistence::flush()).
    SaveOutcome flushPendingSaves();

    void resetToDefaults();
    void clearAllData();
    void exportNotes();

    void createDrawerWindow();
    void showSettingsWindow();

    /// The drawer's resting origin, in screen coordinates with y growing upwards: where the
    /// drawer stands at its edge with its size on its screen; (0, 0) without a drawer or screen.
    QPointF calculateDefaultPosition() const;
    void updateWindowSizeRealTime();
    void updateWindowOpacityRealTime();
    void updateCurrentMargins();
    void updateMarginsRealTime();
    void updateColorsRealTime();

    void animateWindowIn(BorderlessWindow *window);
    void animateWindowOut(BorderlessWindow *window);
    /// Slides a hidden drawer in and a visible one out; does nothing without a drawer window.
    void toggleDrawer();

    void setupGlobalHotkey();

Q_SIGNALS:
    /// Something the user should learn about once, where they look (a tray or desktop
    /// notification): a key that is taken, a settings file that cannot be written.
    void noticeRequested(const QString &title, const QString &message);

    void drawerPositionChanged(DrawerPosition value);
    void noteContentChanged(const QString &value);
    /// Which characters the last assignment of the note replaced: \a removed characters at
    /// \a position gave way to \a added ones. Announced just before noteContentChanged().
    void noteContentEdited(qsizetype position, qsizetype removed, qsizetype added);
    void windowSizeChanged(QSizeF value);
    void windowWidthChanged(double value);
    void windowHeightChanged(double value);
    void windowOpacityChanged(double value);
    void currentMarginsChanged(double value);
    void manualMarginsChanged(double value);
    void useManualMarginsChanged(bool value);
    void maxWindowWidthChanged(double value);
    void maxWindowHeightChanged(double value);
    void backgroundColorChanged(const QColor &value);
    void textColorChanged(const QColor &value);
    void useCustomColorsChanged(bool value);
    void autoFormatBulletsChanged(bool value);
    void autoFormatNumbersChanged(bool value);
    void autoFormatDashesChanged(bool value);
    void smartLinkInsertionChanged(bool value);
    void hideScrollIndicatorsChanged(bool value);
    void reduceMotionChanged(bool value);
    void highContrastModeChanged(bool value);

private:
    /// Stores \a value and announces it through \a signal with the new value.
    template<typename T, typename Signal>
    void assign(T &member, const T &value, Signal signal)
    {
        member = value;
        Q_EMIT(this->*signal)(member);
    }

    AppServices m_services;

    // The initial values are those of the settings table (app/Settings.h), given by the
    // constructor before anything else.
    DrawerPosition m_drawerPosition {};
    QString m_noteContent;
    /// At least the size of the note as its file holds it; -1 until measured.
    mutable qsizetype m_noteBytesBound = -1;
    QSizeF m_windowSize;
    double m_windowWidth = 0;
    double m_windowHeight = 0;
    double m_windowOpacity = 0;
    double m_currentMargins = 0;
    double m_manualMargins = 0;
    bool m_useManualMargins = false;
    double m_maxWindowWidth = 0;
    double m_maxWindowHeight = 0;
    QColor m_backgroundColor;
    QColor m_textColor;
    bool m_useCustomColors = false;
    bool m_autoFormatBullets = false;
    bool m_autoFormatNumbers = false;
    bool m_autoFormatDashes = false;
    bool m_smartLinkInsertion = false;
    bool m_hideScrollIndicators = false;
    bool m_reduceMotion = false;
    bool m_highContrastMode = false;

    // The subsystems that own the operations. Declared last so they go first on destruction,
    // while the properties they read still exist.
    std::unique_ptr<Persistence> m_persistence;
    std::unique_ptr<DataCommands> m_dataCommands;
    std::unique_ptr<DrawerControl> m_drawer;
    std::unique_ptr<HotkeyControl> m_hotkey;
    std::unique_ptr<SettingsControl> m_settingsWindow;
};
