#include "instance/InstanceCommand.h"

namespace InstanceCommands {

QString name(InstanceCommand command)
{
    switch (command) {
    case InstanceCommand::Toggle:
        return QStringLiteral("toggle");
    case InstanceCommand::Show:
        return QStringLiteral("show");
    case InstanceCommand::Hide:
        return QStringLiteral("hide");
    case InstanceCommand::Settings:
        return QStringLiteral("settings");
    case InstanceCommand::Quit:
        return QStringLiteral("quit");
    }
    return QStringLiteral("show");
}

std::optional<InstanceCommand> fromName(QStringView name)
{
    for (InstanceCommand command : all) {
        if (name == InstanceCommands::name(command))
            return command;
    }
    return std::nullopt;
}

bool startsInstance(InstanceCommand command)
{
    return command != InstanceCommand::Hide && command != InstanceCommand::Quit;
}

} // namespace InstanceCommands
