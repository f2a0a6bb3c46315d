// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/**
 * What the model asks of the global hot key: to register it. The model declares it; the
 * drawer's hot key implements it and is released when the model lets it go.
 */
class HotkeyControl
{
public:
    virtual ~HotkeyControl() = default;

    /// Registers the key and reports the outcome on the console.
    virtual void setupGlobalHotkey() = 0;
};
