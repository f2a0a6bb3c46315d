// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/AppState.h"

#include <array>
#include <tuple>

/**
 * Every observable property of the model, declared once: its initial value and, for the saved
 * ones, the keys in the settings file, when the value is written, and its part in Reset to
 * Defaults and Clear All Data. The model takes its initial values from here; loading, the
 * savers, the reset and clear-all walk the table; the settings tabs bind their controls to a row.
 *
 * How a stored value is read follows from its type: text when text is stored; a position when
 * the text is one of the four raw values; a number (and each part of a size) when it is greater
 * than 0; a Boolean when `true` or `false` is stored, else the initial value.
 *
 * The saved rows stand in the order of loading and of the savers; `resetStep` gives the order
 * of Reset to Defaults.
 */
namespace Settings {

enum class Saving {
    /// Held while the application runs only.
    No,
    /// Written within the assignment.
    AtOnce,
    /// Written half a second after the last assignment, with the value the property then holds.
    Debounced,
};

/// What a row says besides its property.
struct Options
{
    /// The keys in the settings file: one per value, two for a size (width, height).
    std::array<const char *, 2> keys {};
    Saving saving = Saving::No;
    /// Where the property stands in Reset to Defaults (1 first); 0 when the reset leaves it.
    int resetStep = 0;
    /// Clear All Data removes the row's keys from the file.
    bool removedByClearAll = false;
    /// Runs after loading, whether or not a value was stored.
    void (*afterLoad)(AppState &) = nullptr;
};

/// One property: how to read, write and watch it, and its initial value.
template<typename T, typename Getter, typename Setter, typename Signal>
struct Row : Options
{
    using Value = T;
    Getter get;
    Setter set;
    Signal changed;
    T initial;

    T value(const AppState &state) const { return T((state.*get)()); }
    void assign(AppState &state, const T &value) const { (state.*set)(value); }
    bool isSaved() const { return saving != Saving::No; }
};

template<typename T, typename Getter, typename Setter, typename Signal>
Row<T, Getter, Setter, Signal> row(Getter get, Setter set, Signal changed, T initial,
                                   Options options = {})
{
    return {options, get, set, changed, initial};
}

// --- The table ---------------------------------------------------------------------------------
// The saved rows, in the order of loading and of the savers.

// The note is saved in a file of its own, by its own saver (Persistence, NoteStore).
inline const auto noteContent = row<QString>(&AppState::noteContent, &AppState::setNoteContent,
                                             &AppState::noteContentChanged, QString());
inline const auto drawerPosition
    = row<DrawerPosition>(&AppState::drawerPosition, &AppState::setDrawerPosition,
                          &AppState::drawerPositionChanged, DrawerPosition::Right,
                          {.keys = {"drawerPosition"},
                           .saving = Saving::AtOnce,
                           .resetStep = 9,
                           .removedByClearAll = true});
inline const auto windowSize = row<QSizeF>(
    &AppState::windowSize, &AppState::setWindowSize, &AppState::windowSizeChanged, QSizeF(400, 600),
    {.keys = {"windowWidth", "windowHeight"},
     .saving = Saving::Debounced,
     .removedByClearAll = true,
     // The sliders' width and height start from the size in effect.
     .afterLoad = [](AppState &state) {
         state.setWindowWidth(state.windowSize().width());
         state.setWindowHeight(state.windowSize().height());
     }});
inline const auto windowOpacity = row<double>(&AppState::windowOpacity, &AppState::setWindowOpacity,
                                              &AppState::windowOpacityChanged, 1.0,
                                              {.keys = {"windowOpacity"},
                                               .saving = Saving::Debounced,
                                               .resetStep = 3,
                                               .removedByClearAll = true});
inline const auto autoFormatBullets
    = row<bool>(&AppState::autoFormatBullets, &AppState::setAutoFormatBullets,
                &AppState::autoFormatBulletsChanged, true,
                {.keys = {"autoFormatBullets"}, .saving = Saving::AtOnce, .resetStep = 10});
inline const auto autoFormatNumbers
    = row<bool>(&AppState::autoFormatNumbers, &AppState::setAutoFormatNumbers,
                &AppState::autoFormatNumbersChanged, true,
                {.keys = {"autoFormatNumbers"}, .saving = Saving::AtOnce, .resetStep = 11});
inline const auto autoFormatDashes = row<bool>(
    &AppState::autoFormatDashes, &AppState::setAutoFormatDashes, &AppState::autoFormatDashesChanged,
    true, {.keys = {"autoFormatDashes"}, .saving = Saving::AtOnce, .resetStep = 12});
inline const auto hideScrollIndicators
    = row<bool>(&AppState::hideScrollIndicators, &AppState::setHideScrollIndicators,
                &AppState::hideScrollIndicatorsChanged, true,
                {.keys = {"hideScrollIndicators"}, .saving = Saving::AtOnce, .resetStep = 14});
inline const auto manualMargins = row<double>(
    &AppState::manualMargins, &AppState::setManualMargins, &AppState::manualMarginsChanged, 20.0,
    {.keys = {"manualMargins"}, .saving = Saving::Debounced, .resetStep = 4});
inline const auto useManualMargins = row<bool>(
    &AppState::useManualMargins, &AppState::setUseManualMargins, &AppState::useManualMarginsChanged,
    false, {.keys = {"useManualMargins"}, .saving = Saving::AtOnce, .resetStep = 5});
inline const auto useCustomColors = row<bool>(
    &AppState::useCustomColors, &AppState::setUseCustomColors, &AppState::useCustomColorsChanged,
    false, {.keys = {"useCustomColors"}, .saving = Saving::AtOnce, .resetStep = 8});

// The properties held while the application runs only.

inline const auto windowWidth = row<double>(&AppState::windowWidth, &AppState::setWindowWidth,
                                            &AppState::windowWidthChanged, 400.0, {.resetStep = 1});
inline const auto windowHeight
    = row<double>(&AppState::windowHeight, &AppState::setWindowHeight,
                  &AppState::windowHeightChanged, 600.0, {.resetStep = 2});
inline const auto currentMargins
    = row<double>(&AppState::currentMargins, &AppState::setCurrentMargins,
                  &AppState::currentMarginsChanged, 20.0);
inline const auto maxWindowWidth
    = row<double>(&AppState::maxWindowWidth, &AppState::setMaxWindowWidth,
                  &AppState::maxWindowWidthChanged, 1200.0);
inline const auto maxWindowHeight
    = row<double>(&AppState::maxWindowHeight, &AppState::setMaxWindowHeight,
                  &AppState::maxWindowHeightChanged, 800.0);
inline const auto backgroundColor = row<QColor>(
    &AppState::backgroundColor, &AppState::setBackgroundColor, &AppState::backgroundColorChanged,
    QColor::fromRgbF(0, 0, 0, 0.3f), {.resetStep = 6});
inline const auto textColor
    = row<QColor>(&AppState::textColor, &AppState::setTextColor, &AppState::textColorChanged,
                  QColor(Qt::white), {.resetStep = 7});
inline const auto smartLinkInsertion
    = row<bool>(&AppState::smartLinkInsertion, &AppState::setSmartLinkInsertion,
                &AppState::smartLinkInsertionChanged, true, {.resetStep = 13});
inline const auto reduceMotion
    = row<bool>(&AppState::reduceMotion, &AppState::setReduceMotion, &AppState::reduceMotionChanged,
                false, {.resetStep = 15});
inline const auto highContrastMode
    = row<bool>(&AppState::highContrastMode, &AppState::setHighContrastMode,
                &AppState::highContrastModeChanged, false, {.resetStep = 16});

/// Every row: the saved ones first, in the order of loading and of the savers.
inline const auto all = std::tie(
    noteContent, drawerPosition, windowSize, windowOpacity, autoFormatBullets, autoFormatNumbers,
    autoFormatDashes, hideScrollIndicators, manualMargins, useManualMargins, useCustomColors,
    windowWidth, windowHeight, currentMargins, maxWindowWidth, maxWindowHeight, backgroundColor,
    textColor, smartLinkInsertion, reduceMotion, highContrastMode);

/// Calls \a fn with each row, in the table's order.
template<typename Fn>
void forEach(Fn &&fn)
{
    std::apply([&fn](const auto &...rows) { (fn(rows), ...); }, all);
}

/// Gives every property its initial value, in the table's order.
inline void assignInitialValues(AppState &state)
{
    forEach([&state](const auto &row) { row.assign(state, row.initial); });
}

} // namespace Settings
