// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>

class BorderlessWindow;
class QAction;

/**
 * What the model asks of the drawer: its window, its geometry and live updates, and the
 * slides. The model declares it; the drawer's controller in the UI library implements it, so
 * the model never reaches a window directly.
 */
class DrawerControl
{
public:
    virtual ~DrawerControl() = default;

    /// The drawer window; null until createDrawerWindow() made it.
    virtual BorderlessWindow *window() const = 0;

    virtual void createDrawerWindow() = 0;
    virtual QPointF calculateDefaultPosition() const = 0;
    virtual void updateWindowSizeRealTime() = 0;
    virtual void updateWindowOpacityRealTime() = 0;
    virtual void updateCurrentMargins() = 0;
    /// Asks a visible drawer to paint itself again.
    virtual void redrawVisibleWindow() = 0;

    virtual void animateWindowIn(BorderlessWindow *window) = 0;
    virtual void animateWindowOut(BorderlessWindow *window) = 0;
    /// Slides a hidden drawer in and a visible one out.
    virtual void toggle() = 0;
    /// True while the drawer is on screen and not on its way out.
    virtual bool isShowing() const = 0;

    /// Actions the drawer's context menu offers below the editing actions (where there is no
    /// tray, the tray menu's items live there).
    virtual void offerContextActions(const QList<QAction *> &actions) = 0;

    /// The startup id of the launch whose command runs next: a drawer the command shows carries
    /// it, so that the window manager lets it take the focus.
    virtual void setStartupId(const QByteArray &id) = 0;
    /// Ends the launch's startup feedback once its command ran, also when it showed nothing.
    virtual void finishCommand() = 0;
};
