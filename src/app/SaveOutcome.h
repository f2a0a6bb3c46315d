// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/// What became of the note and the settings when everything still waiting was written, as
/// Persistence::flush() reports it (for instance to say so before the application ends).
struct SaveOutcome
{
    enum class Result {
        /// Both files hold everything.
        Saved,
        /// `file` could not be written (`reason`). The note is on disk: in its own file when
        /// `rescuePath` is empty (only the settings were lost), otherwise in the rescue copy.
        NotSaved,
        /// The note could be written nowhere: it ends with the application.
        Lost,
    };

    Result result = Result::Saved;
    QString file;
    QString reason;
    QString rescuePath;

    bool isSaved() const { return result == Result::Saved; }
};
