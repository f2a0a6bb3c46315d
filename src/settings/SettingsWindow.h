#pragma once

#include <QWidget>

class AppState;

/// The settings window: made once per run, centred when first made, shown where the user left
/// it afterwards; closing it only hides it, so the chosen tab is kept.
class SettingsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWindow(AppState &state, QWidget *parent = nullptr);

    /// Shows the window, brings it to the front and activates it.
    void present();
};
