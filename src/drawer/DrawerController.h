// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/DrawerControl.h"
#include "platform/ScreenSource.h"

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <memory>
#include <optional>

class AppState;
class BorderlessWindow;
class SlideAnimator;

/// The drawer window and everything that places it: its creation, the screen it is on, its
/// resting origin, the live size, opacity and margin updates, the slides, and the toggle behind
/// the hot key and the tray menu. The resting origin is computed here whenever it is needed, from
/// the edge, the size and the screen in effect.
///
/// The drawer is on one screen at a time, chosen here alone: the main screen at each slide-in
/// (the one holding the pointer), kept until the next one, or the remaining main screen when
/// its screen goes. Every frame of the drawer is computed on that screen.
class DrawerController : public QObject, public DrawerControl
{
    Q_OBJECT

public:
    explicit DrawerController(AppState &state);
    ~DrawerController() override;

    BorderlessWindow *window() const override { return m_window.get(); }
    SlideAnimator &slides() const { return *m_slides; }

    void createDrawerWindow() override;
    QPointF calculateDefaultPosition() const override;
    void updateWindowSizeRealTime() override;
    void updateWindowOpacityRealTime() override;
    void updateCurrentMargins() override;
    void redrawVisibleWindow() override;

    void animateWindowIn(BorderlessWindow *window) override;
    void animateWindowOut(BorderlessWindow *window) override;
    void toggle() override;
    bool isShowing() const override;
    void offerContextActions(const QList<QAction *> &actions) override;
    void setStartupId(const QByteArray &id) override;
    void finishCommand() override;

    /// The screen the drawer's frames are computed on; nothing when there is no screen.
    const std::optional<ScreenFrames> &screen() const { return m_screen; }

private:
    /// Makes \a screen the drawer's screen: the resting origin and the size limits follow it.
    void moveToScreen(const std::optional<ScreenFrames> &screen);
    void onScreensChanged();
    /// The drawer's size as the window shows it: the user's size, at most the visible frame.
    QSizeF shownSize() const;
    QRectF restingFrame() const;

    AppState &m_state;
    std::unique_ptr<SlideAnimator> m_slides;
    std::unique_ptr<BorderlessWindow> m_window;
    std::optional<ScreenFrames> m_screen;
};
