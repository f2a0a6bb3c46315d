// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;
class SettingsWindow;

/// What the model asks of the settings window, which the UI library makes on first use.
class SettingsControl
{
public:
    virtual ~SettingsControl() = default;

    /// Shows the window, brings it to the front and activates it.
    virtual void present() = 0;
    virtual SettingsWindow *settingsWindow() = 0;
    /// The window the settings' dialogs (confirmation, save dialog) belong to.
    virtual QWidget *dialogParent() = 0;
};
