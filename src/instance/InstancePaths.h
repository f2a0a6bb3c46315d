// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

/// Where the running instance can be found and what guards its note. The lock lives with the
/// note (in the note's folder), so that two launches for one note find each other whatever
/// their environment; beside it a small file names the socket the instance listens on. The
/// socket lives in a folder only the user can enter: $XDG_RUNTIME_DIR, or "jotshelf-<uid>"
/// under /tmp when that is unset or not a private folder of the user's. Its name is drawn
/// from the note's folder, so instances of different notes (another $XDG_CONFIG_HOME) never
/// take each other's socket.
class InstancePaths
{
public:
    /// The paths for this process's user and the note in \a noteFolder, creating the folder
    /// under /tmp when needed. Nothing, and \a error says why, when no private folder can be
    /// had. \a warning receives a note when $XDG_RUNTIME_DIR was set but had to be passed over.
    static std::optional<InstancePaths> fromEnvironment(const QString &noteFolder, QString *error,
                                                        QString *warning = nullptr);

    /// The same choice with the runtime folder and the folder for the fallback given (tests).
    static std::optional<InstancePaths> resolve(const QString &runtimeDir, const QString &tempRoot,
                                                const QString &noteFolder, QString *error,
                                                QString *warning = nullptr);

    /// Whether \a folder is a real folder (not a link) owned by this user with mode 0700;
    /// otherwise \a reason says what is wrong.
    static bool isPrivateFolder(const QString &folder, QString *reason);

    /// The folder of the socket.
    QString folder() const { return m_folder; }
    QString noteFolder() const { return m_noteFolder; }
    QString socketPath() const;
    /// The lock the instance holds for its whole run, in the note's folder.
    QString lockPath() const;
    /// The file in the note's folder that names the socket of the instance that runs.
    QString addressPath() const;

private:
    InstancePaths(QString folder, QString noteFolder)
        : m_folder(std::move(folder))
        , m_noteFolder(std::move(noteFolder))
    { }

    QString m_folder;
    QString m_noteFolder;
};
