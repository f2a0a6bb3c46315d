// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/AppState.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <type_traits>

/**
 * Every observable property of the model, declared once in `all`: its initial value; for the
 * saved ones the keys in the settings file, when the value is written and its part in Clear All
 * Data; for the numbers their limits and the operation that makes the drawer follow a new value.
 * The model takes its initial values from here; loading, the savers, Reset to Defaults and
 * clear-all walk the table; the settings tabs bind their controls to a row.
 *
 * How a stored value is read follows from its type: text when text is stored; a position when
 * the text is one of the four raw values; a number (and each part of a size) when it is greater
 * than 0; a Boolean when `true` or `false` is stored, else the initial value.
 *
 * The rows stand in the order of Reset to Defaults; loading and the savers follow it too.
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

/// The range of a number and the steps it takes.
struct Limits
{
    double lower = 0;
    double upper = 0;
    /// The property whose value is the upper bound instead of `upper` (the screen's size for the
    /// window's), and the signal that announces it.
    double (AppState::*upperFrom)() const = nullptr;
    void (AppState::*upperChanged)(double) = nullptr;
    /// Whole numbers only (sizes in pixels: a window has whole ones).
    bool wholeNumbers = false;

    /// \a value within the fixed bounds; a value that is not a number takes the upper bound.
    double clamp(double value) const
    {
        return std::isnan(value) ? upper : std::clamp(value, lower, upper);
    }
};

/// What a row says besides its property.
struct Options
{
    /// The keys in the settings file: one per value, two for a size (width, height).
    std::array<const char *, 2> keys {};
    Saving saving = Saving::No;
    /// Reset to Defaults gives the property its initial value, in the table's order.
    bool reset = true;
    /// Clear All Data removes the row's keys from the file.
    bool removedByClearAll = false;
    /// Runs after loading, whether or not a value was stored.
    void (*afterLoad)(AppState &) = nullptr;
    /// A number's range, for its slider and the operation below.
    Limits limits {};
    /// Makes the drawer follow a new value and keeps the value within its limits: a slider
    /// calls it when a drag starts and ends, Reset to Defaults once after its assignments.
    void (AppState::*apply)() = nullptr;
};

template<auto Getter>
using ValueOf = std::remove_cvref_t<std::invoke_result_t<decltype(Getter), const AppState &>>;

/// One property: how to read, write and watch it, and its initial value.
template<auto Getter, typename Setter, typename Signal>
struct Row : Options
{
    using Value = ValueOf<Getter>;
    static constexpr auto get = Getter;
    Setter set;
    Signal changed;
    Value initial;

    Value value(const AppState &state) const { return Value((state.*get)()); }
    void assign(AppState &state, const Value &value) const { (state.*set)(value); }
    bool isSaved() const { return saving != Saving::No; }
};

template<auto Getter, typename Setter, typename Signal>
Row<Getter, Setter, Signal> row(Setter set, Signal changed, ValueOf<Getter> initial,
                                Options options = {})
{
    return {options, set, changed, std::move(initial)};
}

// --- The table ---------------------------------------------------------------------------------

inline const auto all = std::tuple(
    // The note is saved in a file of its own, by its own saver (Persistence, NoteStore).
    row<&AppState::noteContent>(&AppState::setNoteContent, &AppState::noteContentChanged, QString(),
                                {.reset = false}),
    // Set through the width and height below (updateWindowSizeRealTime()).
    row<&AppState::windowSize>(&AppState::setWindowSize, &AppState::windowSizeChanged,
                               QSizeF(400, 600),
                               {.keys = {"windowWidth", "windowHeight"},
                                .saving = Saving::Debounced,
                                .reset = false,
                                .removedByClearAll = true,
                                // The sliders' width and height start from the size in effect.
                                .afterLoad =
                                    [](AppState &state) {
                                        state.setWindowWidth(state.windowSize().width());
                                        state.setWindowHeight(state.windowSize().height());
                                    }}),
    row<&AppState::windowWidth>(&AppState::setWindowWidth, &AppState::windowWidthChanged, 400.0,
                                {.limits = {.lower = 300,
                                            .upperFrom = &AppState::maxWindowWidth,
                                            .upperChanged = &AppState::maxWindowWidthChanged,
                                            .wholeNumbers = true},
                                 .apply = &AppState::updateWindowSizeRealTime}),
    row<&AppState::windowHeight>(&AppState::setWindowHeight, &AppState::windowHeightChanged, 600.0,
                                 {.limits = {.lower = 200,
                                             .upperFrom = &AppState::maxWindowHeight,
                                             .upperChanged = &AppState::maxWindowHeightChanged,
                                             .wholeNumbers = true},
                                  .apply = &AppState::updateWindowSizeRealTime}),
    row<&AppState::windowOpacity>(&AppState::setWindowOpacity, &AppState::windowOpacityChanged, 1.0,
                                  {.keys = {"windowOpacity"},
                                   .saving = Saving::Debounced,
                                   .removedByClearAll = true,
                                   .limits = {.lower = 0.3, .upper = 1.0},
                                   .apply = &AppState::updateWindowOpacityRealTime}),
    row<&AppState::manualMargins>(&AppState::setManualMargins, &AppState::manualMarginsChanged,
                                  20.0,
                                  {.keys = {"manualMargins"},
                                   .saving = Saving::Debounced,
                                   .limits = {.lower = 10, .upper = 300},
                                   .apply = &AppState::updateMarginsRealTime}),
    row<&AppState::useManualMargins>(&AppState::setUseManualMargins,
                                     &AppState::useManualMarginsChanged, false,
                                     {.keys = {"useManualMargins"}, .saving = Saving::AtOnce}),
    row<&AppState::backgroundColor>(&AppState::setBackgroundColor,
                                    &AppState::backgroundColorChanged,
                                    QColor::fromRgbF(0, 0, 0, 0.3f)),
    row<&AppState::textColor>(&AppState::setTextColor, &AppState::textColorChanged,
                              QColor(Qt::white)),
    row<&AppState::useCustomColors>(&AppState::setUseCustomColors,
                                    &AppState::useCustomColorsChanged, false,
                                    {.keys = {"useCustomColors"}, .saving = Saving::AtOnce}),
    row<&AppState::drawerPosition>(
        &AppState::setDrawerPosition, &AppState::drawerPositionChanged, DrawerPosition::Right,
        {.keys = {"drawerPosition"}, .saving = Saving::AtOnce, .removedByClearAll = true}),
    row<&AppState::autoFormatBullets>(&AppState::setAutoFormatBullets,
                                      &AppState::autoFormatBulletsChanged, true,
                                      {.keys = {"autoFormatBullets"}, .saving = Saving::AtOnce}),
    row<&AppState::autoFormatNumbers>(&AppState::setAutoFormatNumbers,
                                      &AppState::autoFormatNumbersChanged, true,
                                      {.keys = {"autoFormatNumbers"}, .saving = Saving::AtOnce}),
    row<&AppState::autoFormatDashes>(&AppState::setAutoFormatDashes,
                                     &AppState::autoFormatDashesChanged, true,
                                     {.keys = {"autoFormatDashes"}, .saving = Saving::AtOnce}),
    row<&AppState::smartLinkInsertion>(&AppState::setSmartLinkInsertion,
                                       &AppState::smartLinkInsertionChanged, true),
    row<&AppState::hideScrollIndicators>(
        &AppState::setHideScrollIndicators, &AppState::hideScrollIndicatorsChanged, true,
        {.keys = {"hideScrollIndicators"}, .saving = Saving::AtOnce}),
    row<&AppState::reduceMotion>(&AppState::setReduceMotion, &AppState::reduceMotionChanged, false),
    row<&AppState::highContrastMode>(&AppState::setHighContrastMode,
                                     &AppState::highContrastModeChanged, false),
    // Computed: by updateCurrentMargins(), and from the screen.
    row<&AppState::currentMargins>(&AppState::setCurrentMargins, &AppState::currentMarginsChanged,
                                   20.0, {.reset = false}),
    row<&AppState::maxWindowWidth>(&AppState::setMaxWindowWidth, &AppState::maxWindowWidthChanged,
                                   1200.0, {.reset = false}),
    row<&AppState::maxWindowHeight>(&AppState::setMaxWindowHeight,
                                    &AppState::maxWindowHeightChanged, 800.0, {.reset = false}));

namespace Detail {
template<auto A, auto B>
constexpr bool same()
{
    if constexpr (std::is_same_v<decltype(A), decltype(B)>)
        return A == B;
    else
        return false;
}

template<auto Getter, typename... Rows>
constexpr std::size_t indexOf(const std::tuple<Rows...> *)
{
    std::size_t index = 0;
    const bool found = ((same<Getter, Rows::get>() || (++index, false)) || ...);
    return found ? index : sizeof...(Rows);
}
} // namespace Detail

/// The row of the property that \a Getter reads; a property without a row does not compile.
template<auto Getter>
const auto &rowOf()
{
    using All = std::remove_cvref_t<decltype(all)>;
    constexpr std::size_t index = Detail::indexOf<Getter>(static_cast<const All *>(nullptr));
    static_assert(index < std::tuple_size_v<All>, "the property has no row in Settings::all");
    return std::get<index>(all);
}

inline const auto &noteContent = rowOf<&AppState::noteContent>();
inline const auto &windowSize = rowOf<&AppState::windowSize>();
inline const auto &windowWidth = rowOf<&AppState::windowWidth>();
inline const auto &windowHeight = rowOf<&AppState::windowHeight>();
inline const auto &windowOpacity = rowOf<&AppState::windowOpacity>();
inline const auto &manualMargins = rowOf<&AppState::manualMargins>();
inline const auto &useManualMargins = rowOf<&AppState::useManualMargins>();
inline const auto &backgroundColor = rowOf<&AppState::backgroundColor>();
inline const auto &textColor = rowOf<&AppState::textColor>();
inline const auto &useCustomColors = rowOf<&AppState::useCustomColors>();
inline const auto &drawerPosition = rowOf<&AppState::drawerPosition>();
inline const auto &autoFormatBullets = rowOf<&AppState::autoFormatBullets>();
inline const auto &autoFormatNumbers = rowOf<&AppState::autoFormatNumbers>();
inline const auto &autoFormatDashes = rowOf<&AppState::autoFormatDashes>();
inline const auto &smartLinkInsertion = rowOf<&AppState::smartLinkInsertion>();
inline const auto &hideScrollIndicators = rowOf<&AppState::hideScrollIndicators>();
inline const auto &reduceMotion = rowOf<&AppState::reduceMotion>();
inline const auto &highContrastMode = rowOf<&AppState::highContrastMode>();
inline const auto &currentMargins = rowOf<&AppState::currentMargins>();
inline const auto &maxWindowWidth = rowOf<&AppState::maxWindowWidth>();
inline const auto &maxWindowHeight = rowOf<&AppState::maxWindowHeight>();

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
