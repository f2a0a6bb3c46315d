#pragma once

#include <QString>

#include <optional>

/// Where the running instance can be found: its socket and its lock file, in a folder only the
/// user can enter. That is $XDG_RUNTIME_DIR, or "jotshelf-<uid>" under /tmp when it is unset
/// or not a private folder of the user's.
class InstancePaths
{
public:
    /// The paths for this process's user, creating the folder under /tmp when needed. Nothing,
    /// and \a error says why, when no private folder can be had. \a warning receives a note
    /// when $XDG_RUNTIME_DIR was set but had to be passed over.
    static std::optional<InstancePaths> fromEnvironment(QString *error, QString *warning = nullptr);

    /// The same choice with the runtime folder and the folder for the fallback given (tests).
    static std::optional<InstancePaths> resolve(const QString &runtimeDir, const QString &tempRoot,
                                                QString *error, QString *warning = nullptr);

    /// Whether \a folder is a real folder (not a link) owned by this user with mode 0700;
    /// otherwise \a reason says what is wrong.
    static bool isPrivateFolder(const QString &folder, QString *reason);

    QString folder() const { return m_folder; }
    QString socketPath() const;
    QString lockPath() const;

private:
    explicit InstancePaths(QString folder)
        : m_folder(std::move(folder))
    { }

    QString m_folder;
};
