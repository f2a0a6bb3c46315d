// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/CompositorOutput.h"

#include "platform/PlatformChoice.h"
#include "platform/PlatformLog.h"
#include "platform/SwayWindowPlacement.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QScreen>

#include <algorithm>
#include <cstring>

namespace {
// The compositor answers within a millisecond; a hung one must not hold the drawer for long.
constexpr int answerMs = 250;
constexpr std::uint32_t getOutputs = 3;
constexpr qsizetype headerSize = 14;
// An answer listing outputs is a few kilobytes.
constexpr std::uint32_t maxReplyBytes = 1024 * 1024;
} // namespace

CompositorOutput::Compositor CompositorOutput::forEnvironment()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")
        || !PlatformChoice::isWaylandSession(PlatformChoice::Session::fromEnvironment()))
        return Compositor::None;
    if (!qEnvironmentVariable("SWAYSOCK").isEmpty())
        return Compositor::Sway;
    if (qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':').contains(QLatin1String("KDE")))
        return Compositor::KWin;
    return Compositor::None;
}

std::optional<CompositorOutput::Output> CompositorOutput::active(Compositor compositor)
{
    switch (compositor) {
    case Compositor::Sway:
        return askSway(qEnvironmentVariable("SWAYSOCK"));
    case Compositor::KWin:
        return askKWin();
    case Compositor::None:
        break;
    }
    return std::nullopt;
}

std::optional<CompositorOutput::Output>
CompositorOutput::focusedInSwayOutputs(const QByteArray &json)
{
    const QJsonArray outputs = QJsonDocument::fromJson(json).array();
    for (const QJsonValue &value : outputs) {
        const QJsonObject output = value.toObject();
        if (!output.value(QLatin1String("focused")).toBool())
            continue;
        const QJsonObject rect = output.value(QLatin1String("rect")).toObject();
        return Output {output.value(QLatin1String("name")).toString(),
                       QRect(rect.value(QLatin1String("x")).toInt(),
                             rect.value(QLatin1String("y")).toInt(),
                             rect.value(QLatin1String("width")).toInt(),
                             rect.value(QLatin1String("height")).toInt())};
    }
    return std::nullopt;
}

// One question, one answer, waited for here: the drawer is about to open and needs the screen
// now. sway answers GET_OUTPUTS at once.
std::optional<CompositorOutput::Output> CompositorOutput::askSway(const QString &socketPath)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    const QDeadlineTimer deadline(answerMs);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) {
        qCDebug(lcPlatform) << "sway's IPC socket" << socketPath
                            << "cannot be reached:" << socket.errorString();
        return std::nullopt;
    }
    socket.write(SwayWindowPlacement::ipcMessage(getOutputs, {}));
    QByteArray reply;
    std::uint32_t length = 0;
    while (reply.size() < headerSize || reply.size() - headerSize < qsizetype(length)) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime()))) {
            qCDebug(lcPlatform) << "sway did not name its outputs in time";
            return std::nullopt;
        }
        reply += socket.readAll();
        if (reply.size() >= headerSize) {
            if (!reply.startsWith("i3-ipc"))
                return std::nullopt;
            std::memcpy(&length, reply.constData() + 6, sizeof length);
            if (length > maxReplyBytes)
                return std::nullopt;
        }
    }
    const auto focused = focusedInSwayOutputs(reply.mid(headerSize, qsizetype(length)));
    qCDebug(lcPlatform) << "sway's focused output:" << (focused ? focused->name : QString());
    return focused;
}

std::optional<CompositorOutput::Output> CompositorOutput::askKWin()
{
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.KWin"), QStringLiteral("/KWin"), QStringLiteral("org.kde.KWin"),
        QStringLiteral("activeOutputName"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, answerMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCDebug(lcPlatform) << "KWin named no active output:" << reply.errorMessage();
        return std::nullopt;
    }
    const QString name = reply.arguments().constFirst().toString();
    qCDebug(lcPlatform) << "KWin's active output:" << name;
    if (name.isEmpty())
        return std::nullopt;
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (std::any_of(screens.cbegin(), screens.cend(),
                    [&name](const QScreen *screen) { return screen->name() == name; }))
        return Output {name, QRect()};
    // XWayland numbers the outputs: KWin's support information says where this one lies.
    const QDBusMessage information = QDBusConnection::sessionBus().call(
        QDBusMessage::createMethodCall(QStringLiteral("org.kde.KWin"), QStringLiteral("/KWin"),
                                       QStringLiteral("org.kde.KWin"),
                                       QStringLiteral("supportInformation")),
        QDBus::Block, answerMs);
    if (information.type() != QDBusMessage::ReplyMessage || information.arguments().isEmpty())
        return Output {name, QRect()};
    return Output {
        name, rectInKWinSupportInformation(information.arguments().constFirst().toString(), name)};
}

QRect CompositorOutput::rectInKWinSupportInformation(const QString &text, const QString &name)
{
    // A screen's block: its name, then a few lines, the geometry among them.
    const QRegularExpression block(
        QStringLiteral(
            "^Name: %1\\n(?:(?!Name: ).*\\n)*?Geometry: (-?\\d+),(-?\\d+),(\\d+)x(\\d+)$")
            .arg(QRegularExpression::escape(name)),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = block.match(text);
    if (!match.hasMatch())
        return {};
    return QRect(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                 match.captured(4).toInt());
}
