// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

/// Developer logging of the platform layer (hot-key backends, notifications, the platform
/// choice): `QT_LOGGING_RULES="jotshelf.platform.debug=true"` shows it all.
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
