// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/// The lock the instance holds on its note for its whole run: an flock(2) on a file of the
/// note's folder (mode 0600). The system releases it when its holder ends, however it ends, so
/// a lock is never stale; what the file says (the holder's process and machine) only names the
/// holder in messages and never decides anything, so a lock file restored from a backup or
/// left by another machine blocks nothing.
class NoteLock
{
public:
    enum class Result {
        Taken,
        /// Another process holds it (also one of this process, through another NoteLock).
        Held,
        /// The file cannot be opened or locked here; errorString() says why.
        Unusable,
    };

    explicit NoteLock(QString filePath);
    /// Releases the lock, removing the file first.
    ~NoteLock();
    NoteLock(const NoteLock &) = delete;
    NoteLock &operator=(const NoteLock &) = delete;

    Result tryLock();
    void unlock();
    bool isLocked() const { return m_fd >= 0; }
    QString fileName() const { return m_filePath; }
    QString errorString() const { return m_error; }

    /// Who holds the lock as its file tells: "process <pid>" for a process of this machine
    /// that still runs, with the machine's name for another one; empty when the file names no
    /// process that can be checked here.
    QString holder() const;

private:
    QString m_filePath;
    QString m_error;
    int m_fd = -1;
};
