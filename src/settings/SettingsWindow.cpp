// PLACEHOLDER: the settings helper replaces this file.
#include "settings/SettingsWindow.h"

SettingsWindow::SettingsWindow(AppState &state, QWidget *parent)
    : QWidget(parent)
{
    Q_UNUSED(state)
}

void SettingsWindow::present()
{
    show();
}
