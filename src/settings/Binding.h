// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Settings.h"

#include <functional>

/// A two-way binding to a value held elsewhere: how to read it and how to write it. Row views
/// edit a setting through one without knowing the model.
template<typename T>
struct Binding
{
    std::function<T()> get;
    std::function<void(const T &)> set;
};

/// Binds to the model's property of the settings table's \a row.
template<typename Row>
Binding<typename Row::Value> bindSetting(AppState &state, const Row &row)
{
    return {[&state, &row] { return row.value(state); },
            [&state, &row](const typename Row::Value &value) { row.assign(state, value); }};
}
