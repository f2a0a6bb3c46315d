// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editor/TextStyles.h"

#include <QColor>

class QLabel;
class QPushButton;
class QPalette;
class QWidget;

/// The text styles and colours of the settings window, derived from the application's own font
/// and palette so that they follow the desktop's theme.
namespace SettingsStyle {

/// The inset around the header, the footer and each tab's content.
inline constexpr int inset = 16;

// The text styles are those of every Jotshelf window.
using TextStyles::caption;
using TextStyles::headline;
using TextStyles::monospacedCaption;
using TextStyles::title2;

/// \a base made readable: the placeholder text (the captions) and the accent under its label
/// reach WCAG AA's 4.5:1 on their grounds, AAA's 7:1 with \a highContrast (where the captions
/// are then drawn in the window's own text colour).
QPalette readablePalette(const QPalette &base, bool highContrast);

/// A dark palette for a desktop that asks for dark windows while the style's own is light.
QPalette darkPalette();
/// Whether \a palette draws dark text on a light window.
bool isLight(const QPalette &palette);

/// Text that matters less than its neighbours: the palette's placeholder text colour.
QColor secondaryText(const QPalette &palette);
/// A warning red that reads on the buttons of \a palette: 4.5:1, 7:1 with \a highContrast.
QColor destructiveText(const QPalette &palette, bool highContrast);

/// Draws \a label's text in the secondary colour, following palette changes.
void useSecondaryText(QLabel *label);
/// Draws \a button as the window's default action: filled with the accent (the palette's
/// highlight) and lettered in the highlighted-text colour, the fill as drawn at least
/// \a minimum in contrast with the label. Call again when the palette changes.
void makeProminent(QPushButton *button, double minimum);
/// Gives \a widget's text the \a color, whatever role the widget draws its text with.
void setTextColor(QWidget *widget, const QColor &color);

} // namespace SettingsStyle
