// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FixedScreenSource.h"

FixedScreenSource::FixedScreenSource(const QRectF &frame, const QRectF &visibleFrame)
    : m_screens({ScreenFrames {frame, visibleFrame, frame.toRect()}})
{ }
