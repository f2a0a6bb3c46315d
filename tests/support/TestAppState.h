// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FakeHotkeyBackend.h"
#include "FakePrompts.h"

#include "FixedScreenSource.h"
#include "app/AppState.h"
#include "drawer/DrawerController.h"
#include "drawer/SlideAnimator.h"
#include "storage/NoteStore.h"
#include "storage/SettingsStore.h"
#include "tray/Subsystems.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

/// Builds an AppState the way the application does, on test services: a settings file in a
/// temporary folder, the example screen (frame 0,0,1440,900; visible 0,75,1440,800), a fake
/// hot key and scripted prompts. Printed lines are collected in `lines`.
///
///     TestAppState t;                       // defaults
///     t.seed("windowOpacity", 0.4);         // values in the settings file before the start
///     t.hotkeyAnswer = HotkeyBackend::Result::Taken;
///     AppState &state = t.start();
/// The slides of a model made with the UI library's drawer.
inline SlideAnimator &slidesOf(AppState &state)
{
    return static_cast<DrawerController &>(state.drawer()).slides();
}

class TestAppState
{
public:
    TestAppState()
        : screens(
            std::make_shared<FixedScreenSource>(QRectF(0, 0, 1440, 900), QRectF(0, 75, 1440, 800)))
    { }

    ~TestAppState() { state.reset(); }

    /// The settings folder; a test may point it elsewhere before start().
    QString folder() const
    {
        return settingsFolder.isEmpty() ? dir.filePath(QStringLiteral("Jotshelf")) : settingsFolder;
    }
    QString settingsPath() const { return folder() + QStringLiteral("/Jotshelf.conf"); }

    /// Writes \a value under \a key into the settings file before the model starts.
    void seed(const QString &key, const QVariant &value)
    {
        QSettings settings(settingsPath(), QSettings::IniFormat);
        settings.setValue(key, value);
    }

    /// Writes raw INI text as the whole settings file.
    void seedRaw(const QByteArray &ini)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("Jotshelf")));
        QFile file(settingsPath());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(ini);
    }

    /// The note's own file, beside the settings file.
    QString notePath() const { return folder() + QStringLiteral("/note.conf"); }

    /// What the settings files hold now, read afresh; "noteContent" comes from the note's file.
    /// The note is written in the background, so wait for it first where that matters
    /// (`state->noteStore().waitForWritten()`).
    QVariant stored(const QString &key) const
    {
        QSettings settings(fileOf(key), QSettings::IniFormat);
        return settings.value(key);
    }

    bool storedContains(const QString &key) const
    {
        QSettings settings(fileOf(key), QSettings::IniFormat);
        return settings.contains(key);
    }

    QString fileOf(const QString &key) const
    {
        return key == NoteStore::key ? notePath() : settingsPath();
    }

    AppState &start()
    {
        auto hotkeyBackend = std::make_unique<FakeHotkeyBackend>();
        hotkeyBackend->answer = hotkeyAnswer;
        if (prepareHotkeys)
            prepareHotkeys(*hotkeyBackend);
        hotkeys = hotkeyBackend.get();
        auto promptsImpl = std::make_unique<FakePrompts>();
        prompts = promptsImpl.get();

        AppServices services;
        services.store = std::make_unique<SettingsStore>(settingsPath());
        services.notes = std::make_unique<NoteStore>(*services.store);
        services.screens = screens;
        services.hotkeys = std::move(hotkeyBackend);
        services.prompts = std::move(promptsImpl);
        services.console = [this](const QString &line) { lines.append(line); };
        Subsystems::provide(services);
        state = std::make_unique<AppState>(std::move(services));
        return *state;
    }

    /// Makes every slide, fade and resize end at once.
    void instantSlides() { slidesOf(*state).setDurationScale(0); }

    QTemporaryDir dir;
    QString settingsFolder;
    std::shared_ptr<FixedScreenSource> screens;
    HotkeyBackend::Result hotkeyAnswer = HotkeyBackend::Result::Registered;
    /// Sets the fake hot key up before the model registers it (deferred answers, hooks).
    std::function<void(FakeHotkeyBackend &)> prepareHotkeys;
    FakeHotkeyBackend *hotkeys = nullptr;
    FakePrompts *prompts = nullptr;
    QStringList lines;
    std::unique_ptr<AppState> state;
};
