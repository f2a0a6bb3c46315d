// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SettingsWindow.h"

#include "app/AppState.h"
#include "drawer/AccessibleRoles.h"
#include "drawer/BorderlessWindow.h"
#include "drawer/DrawerController.h"
#include "platform/DesktopAppearance.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

SettingsWindow::SettingsWindow(AppState &state, QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
    , m_state(state)
    , m_appearance(new DesktopAppearance(this))
    , m_view(new SettingsView(state, this))
{
    AccessibleRoles::install();
    setWindowTitle(tr("Jotshelf Settings"));
    setFixedSize(fixedWidth, fixedHeight);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    // Nothing wears a focus ring when the window opens; Tab starts at the close control.
    m_view->setFocus();
    centreOnPrimaryScreen();
    applyLook();
    connect(m_appearance, &DesktopAppearance::changed, this, &SettingsWindow::applyLook);
    connect(&m_state, &AppState::highContrastModeChanged, this, &SettingsWindow::applyLook);
}

void SettingsWindow::applyLook()
{
    m_applyingLook = true;
    QPalette base = QApplication::palette(this);
    if (m_appearance->prefersDark().value_or(false) && SettingsStyle::isLight(base))
        base = SettingsStyle::darkPalette();
    setPalette(SettingsStyle::readablePalette(base, m_state.highContrastMode()));
    QFont font = QApplication::font(this);
    if (const auto size = m_appearance->fontPointSize())
        font.setPointSizeF(*size);
    setFont(font);
    m_applyingLook = false;
}

void SettingsWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A new desktop palette or font (a theme change) is made readable again.
    if (!m_applyingLook
        && (event->type() == QEvent::ApplicationPaletteChange
            || event->type() == QEvent::ApplicationFontChange))
        applyLook();
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

void SettingsWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    // Escape, "Done", the close button and the window manager's close all come here. The
    // drawer is asked for the keyboard before this window goes: a window manager moves the
    // focus of a window that disappears while focused to a window of its own choosing.
    if (event->isAccepted())
        returnFocusToDrawer();
}

void SettingsWindow::returnFocusToDrawer()
{
    if (!m_state.drawer().isShowing())
        return;
    if (BorderlessWindow *drawer = m_state.drawerWindow()) {
        drawer->raise();
        drawer->activateWindow();
    }
}
