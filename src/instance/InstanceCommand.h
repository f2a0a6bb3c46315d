// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

/// What a launch of `jotshelf` asks of the running instance.
enum class InstanceCommand { Toggle, Show, Hide, Settings, Quit, Append, Print };

/// One request over the instance socket: a command, and for Append its text.
struct InstanceRequest
{
    InstanceCommand command = InstanceCommand::Show;
    /// The text to append, in UTF-8.
    QByteArray text;
    /// Append: answer only once the note is on disk.
    bool sync = false;
    /// The launch's startup id (DESKTOP_STARTUP_ID, or XDG_ACTIVATION_TOKEN): the window the
    /// command shows carries it, so that the desktop lets it take the focus and ends the launch
    /// feedback. Empty when the launch had none.
    QByteArray startupId;
};

/// The running instance's answer to one request.
struct InstanceReply
{
    /// False when the command could not be carried out; error says why.
    bool ok = true;
    /// Print: the note, in UTF-8.
    std::optional<QByteArray> data;
    QString error;

    static InstanceReply failure(const QString &error) { return {false, {}, error}; }
};

namespace InstanceCommands {

inline constexpr std::array<InstanceCommand, 7> all
    = {InstanceCommand::Toggle,   InstanceCommand::Show, InstanceCommand::Hide,
       InstanceCommand::Settings, InstanceCommand::Quit, InstanceCommand::Append,
       InstanceCommand::Print};

/// The most text one --append takes.
inline constexpr qint64 maxAppendBytes = qint64(16) * 1024 * 1024;

/// "toggle", "show", "hide", "settings", "quit", "append" or "print": the option's name and the
/// word sent over the instance socket.
QString name(InstanceCommand command);

/// The command named exactly \a name, or nothing.
std::optional<InstanceCommand> fromName(QStringView name);

/// Whether the command starts Jotshelf when none runs (hiding, quitting or printing one that
/// does not run has nothing to start for).
bool startsInstance(InstanceCommand command);

/// The most bytes of a startup id sent along.
inline constexpr qsizetype maxStartupIdBytes = 255;

/// Whether \a id can go over the instance socket: 1 to maxStartupIdBytes printable ASCII
/// characters, without spaces.
bool isValidStartupId(QByteArrayView id);

/// This launch's startup id: DESKTOP_STARTUP_ID (X11) or else XDG_ACTIVATION_TOKEN (Wayland),
/// when it is a valid one; otherwise empty.
QByteArray startupIdFromEnvironment();

/// Whether \a bytes is well-formed UTF-8 (no overlong forms, no surrogates, nothing past
/// U+10FFFF).
bool isValidUtf8(QByteArrayView bytes);

/// \a bytes, known to be valid UTF-8, as text; a leading byte order mark is kept.
QString fromUtf8(QByteArrayView bytes);

} // namespace InstanceCommands
