#include "instance/InstanceCommand.h"

#include <QStringDecoder>

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
    case InstanceCommand::Append:
        return QStringLiteral("append");
    case InstanceCommand::Print:
        return QStringLiteral("print");
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
    return command != InstanceCommand::Hide && command != InstanceCommand::Quit
        && command != InstanceCommand::Print;
}

namespace {
// Without ConvertInitialBom the decoder drops a leading U+FEFF, which is part of the text.
constexpr auto decoderFlags
    = QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;
} // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, decoderFlags);
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text)
    return !decoder.hasError();
}

QString fromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, decoderFlags);
    return decoder.decode(bytes);
}

} // namespace InstanceCommands
