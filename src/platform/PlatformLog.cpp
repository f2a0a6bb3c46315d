// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PlatformLog.h"

Q_LOGGING_CATEGORY(lcPlatform, "jotshelf.platform", QtInfoMsg)
