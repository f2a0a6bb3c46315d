#pragma once

#include <QColor>
#include <QFont>

class QLabel;
class QPalette;
class QWidget;

/// The text styles and colours of the settings window, derived from the application's own font
/// and palette so that they follow the desktop's theme.
namespace SettingsStyle {

/// The inset around the header, the footer and each tab's content.
inline constexpr int inset = 16;

/// The window title style: larger than body text, semibold.
QFont title2(const QFont &base);
/// A section title: body size, semibold.
QFont headline(const QFont &base);
/// Small explanatory text.
QFont caption(const QFont &base);
/// The fixed-width font at the caption size.
QFont monospacedCaption(const QFont &base);

/// Text that matters less than its neighbours: the palette's placeholder text colour.
QColor secondaryText(const QPalette &palette);
/// A warning red that reads on light and dark backgrounds.
QColor destructiveText();

/// Draws \a label's text in the secondary colour, following palette changes.
void useSecondaryText(QLabel *label);
/// Gives \a widget's text the \a color, whatever role the widget draws its text with.
void setTextColor(QWidget *widget, const QColor &color);

} // namespace SettingsStyle
