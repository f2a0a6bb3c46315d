// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/SettingsControl.h"

#include <QWidget>

class AppState;
class DesktopAppearance;
class SettingsView;

/// The settings window: made once per run, centred when first made, shown where the user left
/// it afterwards; closing it only hides it, so the chosen tab is kept. It asks the window manager
/// for a title and a close button only (Motif hints, and a fixed size, which takes maximising
/// away). openbox 3.6 reads neither the Motif minimise nor maximise bit, by design ("dont let mwm
/// hints kill any buttons"): it draws both buttons on any normal or dialog window, the maximise
/// one inert here. When it closes while the drawer is open, the keyboard
/// goes back to the drawer.
class SettingsWindow : public QWidget, public SettingsControl
{
    Q_OBJECT

public:
    static constexpr int fixedWidth = 500;
    static constexpr int fixedHeight = 550;

    explicit SettingsWindow(AppState &state, QWidget *parent = nullptr);

    void present() override;
    SettingsWindow *settingsWindow() override { return this; }
    QWidget *dialogParent() override { return this; }

    SettingsView *view() const { return m_view; }

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    /// The desktop's palette (dark when the desktop asks for dark windows) made readable, and
    /// the desktop's font size.
    void applyLook();
    void centreOnPrimaryScreen();
    void returnFocusToDrawer();

    AppState &m_state;

    DesktopAppearance *m_appearance = nullptr;
    SettingsView *m_view = nullptr;
    bool m_applyingLook = false;
};
