// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SwayWindowPlacement.h"

#include "platform/PlatformLog.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QTimer>

#include <cstring>

namespace {
constexpr char magic[] = "i3-ipc";
constexpr int magicSize = 6;
constexpr int headerSize = magicSize + 8;
constexpr int retryMs = 20;
constexpr int maxTries = 50;
// Far more than any answer to a command.
constexpr std::uint32_t maxReplyBytes = 1024 * 1024;

void appendNative(QByteArray &bytes, std::uint32_t value)
{
    char raw[sizeof value];
    std::memcpy(raw, &value, sizeof value);
    bytes.append(raw, sizeof raw);
}

std::uint32_t readNative(const char *raw)
{
    std::uint32_t value = 0;
    std::memcpy(&value, raw, sizeof value);
    return value;
}
} // namespace

SwayWindowPlacement::SwayWindowPlacement(const QString &socketPath, QObject *parent)
    : QObject(parent)
    , m_socketPath(socketPath)
    , m_socket(new QLocalSocket(this))
    , m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(retryMs);
    connect(m_retry, &QTimer::timeout, this, &SwayWindowPlacement::send);
    connect(m_socket, &QLocalSocket::readyRead, this, &SwayWindowPlacement::readReply);
    connect(m_socket, &QLocalSocket::disconnected, this, [this] {
        m_inFlight.clear();
        m_buffer.clear();
        if (!m_wanted.isEmpty() && m_tries < maxTries)
            m_retry->start();
    });
}

SwayWindowPlacement::~SwayWindowPlacement() = default;

QString SwayWindowPlacement::socketFromEnvironment()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    return qEnvironmentVariable("SWAYSOCK");
}

QByteArray SwayWindowPlacement::ipcMessage(std::uint32_t type, const QByteArray &payload)
{
    QByteArray message(magic, magicSize);
    appendNative(message, std::uint32_t(payload.size()));
    appendNative(message, type);
    message.append(payload);
    return message;
}

QByteArray SwayWindowPlacement::commandMessage(const QByteArray &command)
{
    return ipcMessage(0, command);
}

void SwayWindowPlacement::place(std::uint32_t window, QPoint position)
{
    const QByteArray command = QStringLiteral("[id=%1] move absolute position %2 %3")
                                   .arg(window)
                                   .arg(position.x())
                                   .arg(position.y())
                                   .toLatin1();
    m_wanted = command;
    m_tries = 0;
    m_retry->stop();
    if (m_inFlight.isEmpty())
        send();
}

void SwayWindowPlacement::send()
{
    if (m_wanted.isEmpty())
        return;
    if (m_socket->state() != QLocalSocket::ConnectedState) {
        m_socket->abort();
        m_socket->connectToServer(m_socketPath);
        // A local socket connects at once or not at all.
        if (!m_socket->waitForConnected(0) && m_socket->state() != QLocalSocket::ConnectedState) {
            qCWarning(lcPlatform) << "sway's IPC socket" << m_socketPath
                                  << "cannot be reached:" << m_socket->errorString();
            m_wanted.clear();
            return;
        }
    }
    m_inFlight = m_wanted;
    ++m_tries;
    m_socket->write(commandMessage(m_inFlight));
    m_socket->flush();
}

void SwayWindowPlacement::readReply()
{
    m_buffer.append(m_socket->readAll());
    while (m_buffer.size() >= headerSize) {
        if (!m_buffer.startsWith(QByteArray(magic, magicSize))) {
            qCWarning(lcPlatform) << "sway's IPC answered something else than a reply";
            m_socket->abort();
            return;
        }
        const std::uint32_t length = readNative(m_buffer.constData() + magicSize);
        // The answer to a command is a line of JSON: a header claiming more is not sway's,
        // and its bytes are not kept waiting for a length that may be 4 GB.
        if (length > maxReplyBytes) {
            qCWarning(lcPlatform) << "sway's IPC announced a reply of" << length
                                  << "bytes; dropped";
            m_buffer.clear();
            m_inFlight.clear();
            m_socket->abort();
            return;
        }
        if (std::uint32_t(m_buffer.size() - headerSize) < length)
            return;
        const QByteArray payload = m_buffer.mid(headerSize, qsizetype(length));
        m_buffer.remove(0, headerSize + qsizetype(length));
        handleReply(payload);
    }
}

void SwayWindowPlacement::handleReply(const QByteArray &payload)
{
    const QByteArray answered = m_inFlight;
    m_inFlight.clear();
    const QJsonObject result = QJsonDocument::fromJson(payload).array().at(0).toObject();
    if (answered != m_wanted) {
        // A newer request came meanwhile.
        send();
        return;
    }
    if (result.value(QLatin1String("success")).toBool()) {
        m_wanted.clear();
        Q_EMIT placed();
        return;
    }
    // Mapped a moment ago, the window may not be in sway's tree yet.
    if (m_tries < maxTries) {
        m_retry->start();
        return;
    }
    qCWarning(lcPlatform) << "sway did not place the window:" << answered
                          << result.value(QLatin1String("error")).toString();
    m_wanted.clear();
}
