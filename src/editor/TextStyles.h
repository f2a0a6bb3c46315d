// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>

/// The named text styles of Jotshelf's windows (the drawer, the link dialog and the settings
/// window), each derived from a base font (normally the widget's own, which follows the desktop's),
/// so that both windows draw captions and titles alike.
namespace TextStyles {

/// A window title: larger than body text, semibold.
QFont title2(const QFont &base);
/// A section or dialog title: body size, semibold.
QFont headline(const QFont &base);
/// Small explanatory text and field labels: smaller than body text.
QFont caption(const QFont &base);
/// The desktop's fixed-width font at the size of \a base (the note's font).
QFont monospaced(const QFont &base);
/// The fixed-width font at the caption size.
QFont monospacedCaption(const QFont &base);

} // namespace TextStyles
