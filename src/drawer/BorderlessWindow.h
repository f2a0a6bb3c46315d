// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "drawer/DrawerShadow.h"

#include <QMargins>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include <optional>

class CompositingMonitor;
class SwayWindowPlacement;
class X11WindowActivation;

/// The drawer's window: borderless, kept above ordinary windows, without a taskbar or pager
/// entry, managed by the window manager and placed by the application.
///
/// Window managers keep managed windows on screen, so the native window never leaves it: it
/// covers an area on the drawer's screen (setArea), and the drawer's frame, wherever a slide has
/// it, is shown by putting the content at the frame's place and clipping the window to the part
/// of the frame inside that area and the screen (setFrameRect). It can take the keyboard focus,
/// and closing it only hides it.
///
/// Where a compositing manager runs, the window reaches beyond the area by a transparent margin
/// that holds the drawer's shadow (within the screen: the shadow is clipped like the frame). The
/// margin takes no clicks, window managers are told it is no part of the frame, and the frame
/// the drawer reports stays exactly the frame. Without a compositor there is no margin.
class BorderlessWindow : public QWidget
{
    Q_OBJECT

public:
    explicit BorderlessWindow(QWidget *parent = nullptr);
    ~BorderlessWindow() override;

    /// Puts \a content in the window; it keeps the frame's size.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

    /// Puts the native window at \a area (Qt's global coordinates).
    void setArea(const QRect &area);
    /// Shows the drawer's frame \a frame (Qt's global coordinates), clipped to \a clip.
    void setFrameRect(const QRect &frame, const QRect &clip);
    /// The drawer's frame as the user sees it, which may lie partly beyond the native window.
    QRect frameRect() const { return m_frame; }

    /// Shows the window, raises it and gives it the keyboard, with a time stamp the window
    /// manager's focus-stealing prevention accepts.
    void present();

    /// Whether the shadow and its margin are shown; they follow the compositing manager.
    bool isShadowShown() const { return m_shadowShown; }
    void setShadowShown(bool shown);

    /// The startup id of the launch whose command comes next (see X11WindowActivation): the
    /// next present() carries it; finishCommand() ends it when the command showed nothing.
    void setStartupId(const QByteArray &id);
    void finishCommand();

Q_SIGNALS:
    /// The drawer went off screen (closed at the end of a slide-out, or at once).
    void hidden();

protected:
    void hideEvent(QHideEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyArea();
    void placeContent();
    void applyShape(bool force);
    void keepArea();

    QWidget *m_content = nullptr;
    QRect m_area;
    QRect m_frame;
    QRect m_clip;
    /// How far the native window reaches beyond the area: the shadow's margin.
    QMargins m_margins;
    /// The part of the window that takes input while the margin is shown (window coordinates),
    /// and what the window system was last told.
    std::optional<QRegion> m_input;
    std::optional<QRegion> m_appliedInput;
    QMargins m_appliedExtents;
    QRect m_shadowBounds;
    bool m_shadowShown = false;
    DrawerShadow m_shadow;
    X11WindowActivation *m_activation = nullptr;
    CompositingMonitor *m_compositing = nullptr;
    SwayWindowPlacement *m_sway = nullptr;
};
