#pragma once

#include <QString>

#include <array>
#include <optional>

/// What a launch of `jotshelf` asks of the running instance.
enum class InstanceCommand { Toggle, Show, Hide, Settings, Quit };

namespace InstanceCommands {

inline constexpr std::array<InstanceCommand, 5> all
    = {InstanceCommand::Toggle, InstanceCommand::Show, InstanceCommand::Hide,
       InstanceCommand::Settings, InstanceCommand::Quit};

/// "toggle", "show", "hide", "settings" or "quit": the option's name and the word sent over the
/// instance socket.
QString name(InstanceCommand command);

/// The command named exactly \a name, or nothing.
std::optional<InstanceCommand> fromName(QStringView name);

/// Whether the command starts Jotshelf when none runs (hiding or quitting one that does not run
/// has nothing to do).
bool startsInstance(InstanceCommand command);

} // namespace InstanceCommands
