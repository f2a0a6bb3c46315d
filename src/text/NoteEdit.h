// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/// One change of the note: \a removed characters at \a position give way to \a inserted.
struct NoteEdit
{
    qsizetype position = 0;
    qsizetype removed = 0;
    QString inserted;
};
