// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/**
 * The roles assistive technology reads for widgets whose role Qt gets wrong in Jotshelf: its
 * top-level windows (the drawer, the settings window) are plain QWidgets, which Qt describes as a
 * client area ("filler" over AT-SPI, which screen readers do not announce when it opens), and
 * its divider lines are QFrames, which Qt describes as a border ("frame" over AT-SPI, the role
 * of a window). Here a top-level plain QWidget is a window and a line a separator. Call it
 * before the first window is shown; later calls do nothing.
 *
 * A widget may also be given a role of its own (setRole): a label made a heading, a row of tab
 * buttons made a page tab list.
 */
class QWidget;

namespace AccessibleRoles {
void install();
/// Makes assistive technology read \a widget (a plain QWidget or a QLabel) in \a role, a
/// QAccessible::Role. Call it before the widget is first read.
void setRole(QWidget *widget, int role);
} // namespace AccessibleRoles
