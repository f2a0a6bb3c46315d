// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>

/// A copy of the note, written when its own file cannot be, in a folder only the user can reach:
/// `$XDG_STATE_HOME/Jotshelf` (`~/.local/state/Jotshelf`), made 0700, or when that cannot be had
/// (a link, another owner, no room), a new folder of its own in `$TMPDIR` made by mkdtemp. The
/// copy, `jotshelf-note-<yyyyMMdd-HHmmss>.txt`, is new (0600): it never replaces a file nor
/// writes through a link.
class RescueCopy
{
public:
    /// Writes \a bytes; returns the copy's path, or an empty string and the last failure in
    /// \a error.
    static QString write(QByteArrayView bytes, QString *error = nullptr);

    /// `$XDG_STATE_HOME/Jotshelf`, or `~/.local/state/Jotshelf` without it.
    static QString stateFolder();
};
