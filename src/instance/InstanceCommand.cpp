// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "instance/InstanceCommand.h"

#include <QStringDecoder>

#include <algorithm>

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

bool isValidStartupId(QByteArrayView id)
{
    if (id.isEmpty() || id.size() > maxStartupIdBytes)
        return false;
    return std::all_of(id.begin(), id.end(), [](char c) { return c > ' ' && c < 0x7f; });
}

QByteArray startupIdFromEnvironment()
{
    for (const char *name : {"DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN"}) {
        const QByteArray id = qgetenv(name);
        if (isValidStartupId(id))
            return id;
    }
    return {};
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
