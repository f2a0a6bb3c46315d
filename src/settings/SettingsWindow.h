#pragma once

#include <QWidget>

class AppState;
class SettingsView;

/// The settings window: made once per run, centred when first made, shown where the user left
/// it afterwards; closing it only hides it, so the chosen tab is kept.
class SettingsWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int fixedWidth = 500;
    static constexpr int fixedHeight = 550;

    explicit SettingsWindow(AppState &state, QWidget *parent = nullptr);

    /// Shows the window, brings it to the front and activates it.
    void present();

    SettingsView *view() const { return m_view; }

private:
    void centreOnPrimaryScreen();

    SettingsView *m_view = nullptr;
};
