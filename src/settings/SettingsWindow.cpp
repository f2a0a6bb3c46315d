#include "settings/SettingsWindow.h"

#include "settings/SettingsView.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

SettingsWindow::SettingsWindow(AppState &state, QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
    , m_view(new SettingsView(state, this))
{
    setWindowTitle(QStringLiteral("Jotshelf Settings"));
    setFixedSize(fixedWidth, fixedHeight);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    centreOnPrimaryScreen();
}

void SettingsWindow::present()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void SettingsWindow::centreOnPrimaryScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The content is centred; the window manager adds its frame around it.
    QRect content(QPoint(0, 0), size());
    content.moveCenter(screen->availableGeometry().center());
    setGeometry(content);
}
